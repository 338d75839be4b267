#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "support/test_support.h"
#include "video/frame_buffer.h"
#include "video/text.h"

namespace {

// Every glyph as "code:rows", rows as five digits (4 left, 2 middle, 1 right pixel).
constexpr const char* kGlyphs[] = {
    "7:00200",  "9:07570",  "24:27222", "25:22272", "26:46764", "27:13731", "33:22202", "34:55000",
    "35:27272", "36:36236", "37:41241", "39:24000", "40:24442", "41:21112", "42:05250", "43:02720",
    "44:00024", "45:00700", "46:00001", "47:01240", "48:75557", "49:11111", "50:71747", "51:71317",
    "52:45711", "53:74717", "54:44757", "55:71111", "56:75757", "57:75711", "58:02020", "59:02024",
    "60:12421", "61:07070", "62:42124", "63:21202", "64:25543", "65:25755", "66:65656", "67:34443",
    "68:65556", "69:74647", "70:74644", "71:34453", "72:55755", "73:22222", "74:11152", "75:55655",
    "76:44447", "77:57755", "78:56735", "79:25552", "80:65644", "81:25573", "82:65655", "83:34216",
    "84:72222", "85:55557", "86:55552", "87:55775", "88:55255", "89:55222", "90:71247", "91:64446",
    "92:04210", "93:62226", "95:00007",
};

TEST(Font, HasExactlyTheListedGlyphs) {
  static_assert(std::size(kGlyphs) == 67);
  char expected[128][5] = {};
  for (const char* glyph : kGlyphs) {
    for (int r = 0; r < 5; ++r)
      expected[std::atoi(glyph)][r] = std::strchr(glyph, ':')[1 + r] - '0';
  }
  for (int code = 0; code < 128; ++code) {
    for (int r = 0; r < 5; ++r) EXPECT_EQ(fontGlyphs.rows[code][r], expected[code][r]) << code;
  }
}

// The pixels that the drawing changes in a frame of the background colour, as "x,y=colour".
std::vector<std::string> drawn(const std::function<void()>& draw, int background = 0) {
  startHeadlessVideo();
  fillRect(0, 0, 319, 199, background);
  draw();
  std::vector<std::string> changed;
  for (int i = 0; i < kFrameBytes; ++i) {
    if (frameBuffer.pixels[i] == background) continue;
    changed.push_back(std::to_string(i % 320) + "," + std::to_string(i / 320) + "=" +
                      std::to_string(frameBuffer.pixels[i]));
  }
  return changed;
}

TEST(DrawText, GlyphsInFourPixelCellsBlankCodesAdvanceAndEdgesCutNotWrap) {
  EXPECT_TRUE(drawn([] { drawText(10, 10, 15, ""); }).empty());
  EXPECT_TRUE(drawn([] { drawTextOpaque(10, 10, 15, ""); }, 9).empty());
  EXPECT_TRUE(drawn([] { drawText(0, 0, 15, "a\x14\x15 &^\xc4\xff"); }).empty());
  EXPECT_EQ(drawn([] { drawText(0, 0, 15, "a\x14\x15I"); }),  // only the I, in the fourth cell
            (std::vector<std::string>{"13,0=15", "13,1=15", "13,2=15", "13,3=15", "13,4=15"}));
  EXPECT_EQ(drawn([] { drawText(10, 10, 15, "AB"); }).size(), 20u);
  EXPECT_EQ(getPixel(11, 10), 15);  // the frame holds AB: A's top middle
  EXPECT_EQ(getPixel(10, 10), 0);
  EXPECT_EQ(getPixel(14, 10), 15);  // B's top left
  for (int y = 0; y < 200; ++y) EXPECT_TRUE(getPixel(13, y) == 0 && getPixel(17, y) == 0);
  EXPECT_EQ(drawn([] { drawText(316, 197, 15, "HH"); }),
            (std::vector<std::string>{"316,197=15", "318,197=15", "316,198=15", "318,198=15",
                                      "316,199=15", "317,199=15", "318,199=15"}));
}

TEST(DrawText, OpaqueTextBlanksTheGlyphAreaButNotTheGap) {
  // The A's 3x5 area in 15 and 0, the space's in 0; the gap columns keep the background.
  EXPECT_EQ(drawn([] { drawTextOpaque(10, 10, 15, "A "); }, 9).size(), 30u);
  EXPECT_EQ(getPixel(10, 10), 0);
  EXPECT_EQ(getPixel(11, 10), 15);
  EXPECT_EQ(getPixel(13, 10), 9);
  for (int y = 10; y < 15; ++y) {
    for (int x = 14; x < 17; ++x) EXPECT_EQ(getPixel(x, y), 0);
  }
}

TEST(DrawNumber, DigitsRightAlignedOnTheCellAtXWithoutSignOrLeadingZeros) {
  const struct {
    int x, value, textX;
    const char* text;
  } cases[] = {{176, 99, 172, "99"}, {100, 120, 92, "120"}, {50, 0, 50, "0"}, {50, -5, 50, ""}};
  for (const auto& c : cases) {
    EXPECT_EQ(drawn([&] { drawNumber(c.x, 1, 15, c.value); }),
              drawn([&] { drawText(c.textX, 1, 15, c.text); }))
        << c.value;
    EXPECT_EQ(drawn([&] { drawNumberOpaque(c.x, 1, 15, c.value); }, 9),
              drawn([&] { drawTextOpaque(c.textX, 1, 15, c.text); }, 9))
        << c.value;
  }
}

}  // namespace
