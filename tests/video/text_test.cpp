#include <gtest/gtest.h>

#include <cstring>

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

class TextTest : public ::testing::Test {
 protected:
  void SetUp() override { startHeadlessVideo(); }
};

TEST(Font, HasExactlyTheListedGlyphs) {
  bool listed[128] = {};
  for (const char* glyph : kGlyphs) {
    int code = std::atoi(glyph);
    const char* rows = std::strchr(glyph, ':') + 1;
    listed[code] = true;
    for (int r = 0; r < 5; ++r)
      EXPECT_EQ(fontGlyphs.rows[code][r], rows[r] - '0') << "code " << code;
  }
  EXPECT_EQ(sizeof kGlyphs / sizeof kGlyphs[0], 67u);
  for (int code = 0; code < 128; ++code) {
    if (listed[code]) continue;
    for (int r = 0; r < 5; ++r) EXPECT_EQ(fontGlyphs.rows[code][r], 0) << "code " << code;
  }
}

TEST_F(TextTest, AnEmptyStringDrawsNothing) {
  drawText(10, 10, 15, "");
  drawTextOpaque(10, 10, 15, "");
  EXPECT_TRUE(paintedPixels().empty());
}

TEST_F(TextTest, CharactersTakeFourPixelCellsAndLeaveTheGapColumnAlone) {
  drawText(10, 10, 15, "AB");
  for (const std::string& pixel : paintedPixels()) {
    int x = std::stoi(pixel), y = std::stoi(pixel.substr(pixel.find(',') + 1));
    EXPECT_TRUE((x >= 10 && x <= 12) || (x >= 14 && x <= 16)) << pixel;
    EXPECT_TRUE(y >= 10 && y <= 14) << pixel;
  }
  EXPECT_EQ(getPixel(11, 10), 15);  // A's top middle
  EXPECT_EQ(getPixel(10, 10), 0);
  EXPECT_EQ(getPixel(14, 10), 15);  // B's top left
}

TEST_F(TextTest, OpaqueTextBlanksTheGlyphAreaButNotTheGap) {
  fillRect(0, 0, 40, 20, 9);
  drawTextOpaque(10, 10, 15, "A ");
  EXPECT_EQ(getPixel(10, 10), 0);
  EXPECT_EQ(getPixel(11, 10), 15);
  EXPECT_EQ(getPixel(13, 10), 9);  // gap column keeps the background
  for (int y = 10; y < 15; ++y) {
    for (int x = 14; x < 17; ++x) EXPECT_EQ(getPixel(x, y), 0);  // the space is a black block
  }
  EXPECT_EQ(getPixel(17, 12), 9);
  EXPECT_EQ(getPixel(10, 15), 9);
}

TEST_F(TextTest, BlankCodesStillAdvanceTheCursor) {
  drawText(0, 0, 15, "a\x14\x15I");
  EXPECT_EQ(paintedPixels().size(), 5u);  // only the I, in the fourth cell
  EXPECT_EQ(getPixel(13, 0), 15);
}

TEST_F(TextTest, CodesAbove127AreBlank) {
  drawText(0, 0, 15, "\xc4\xff");
  EXPECT_TRUE(paintedPixels().empty());
}

TEST_F(TextTest, TextPastTheEdgeIsCutNotWrapped) {
  drawText(316, 197, 15, "HH");
  for (const std::string& pixel : paintedPixels()) {
    int x = std::stoi(pixel), y = std::stoi(pixel.substr(pixel.find(',') + 1));
    EXPECT_GE(x, 316);
    EXPECT_GE(y, 197);
  }
  EXPECT_EQ(getPixel(316, 197), 15);
}

TEST_F(TextTest, NumbersAreRightAlignedOnTheCellAtX) {
  drawNumber(176, 1, 15, 99);
  fillRect(0, 0, 319, 199, 0);
  drawNumber(100, 50, 15, 120);
  std::vector<std::string> painted = paintedPixels();
  startHeadlessVideo();
  drawText(92, 50, 15, "120");
  EXPECT_EQ(paintedPixels(), painted);
}

TEST_F(TextTest, NinetyNineIsTwoNinesEndingAtX) {
  drawNumber(176, 1, 15, 99);
  std::vector<std::string> painted = paintedPixels();
  startHeadlessVideo();
  drawText(172, 1, 15, "99");
  EXPECT_EQ(paintedPixels(), painted);
}

TEST_F(TextTest, ZeroIsOneDigitAndNegativesDrawNothing) {
  drawNumber(50, 50, 15, -5);
  EXPECT_TRUE(paintedPixels().empty());
  drawNumber(50, 50, 15, 0);
  std::vector<std::string> painted = paintedPixels();
  startHeadlessVideo();
  drawText(50, 50, 15, "0");
  EXPECT_EQ(paintedPixels(), painted);
}

TEST_F(TextTest, OpaqueNumbersBlankBehindTheirDigits) {
  fillRect(0, 0, 100, 20, 9);
  drawNumberOpaque(20, 5, 11, 7);
  EXPECT_EQ(getPixel(20, 5), 11);
  EXPECT_EQ(getPixel(20, 6), 0);
  EXPECT_EQ(getPixel(16, 5), 9);
}

}  // namespace
