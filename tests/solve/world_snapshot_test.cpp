// The solver plays many futures from one saved world: a future played from a
// restored world must be the very future the game plays uninterrupted.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/level_loop.h"
#include "platform/headless/headless.h"
#include "platform/vga.h"
#include "support/test_support.h"
#include "video/frame_buffer.h"
#include "world/level_data.h"
#include "world_snapshot.h"

namespace {

// Keys that turn, thrust and fire, so that exhaust, shots, turrets and the
// random numbers they draw all change from frame to frame.
std::string keysOfFrame(int frame) {
  static const char* const kPattern[] = {"hold RSHIFT 1\n", "hold RSHIFT A 1\n", "hold ENTER 1\n",
                                         "wait 1\n",        "hold RSHIFT S 1\n", "hold RSHIFT 1\n"};
  return kPattern[(frame / 7) % 6];
}

// The screens shown by frames first..last-1, each as a string of its 64000 indices.
std::vector<std::string> playFrames(int first, int last) {
  std::vector<std::string> screens;
  for (int frame = first; frame < last; ++frame) {
    useScript(keysOfFrame(frame));
    runLevelFrame();
    const unsigned char* screen = headlessScreen();
    screens.emplace_back(screen, screen + kFrameBytes);
  }
  return screens;
}

TEST(WorldSnapshot, AFutureFromARestoredWorldIsTheUninterruptedOne) {
  startHeadlessVideo();
  takeOverRandomState();
  buildLevel(6, 1);  // level 7: gates, and many turrets
  startLevel();
  playFrames(0, 40);
  static WorldSnapshot midway;
  saveWorld(&midway);
  const std::vector<std::string> uninterrupted = playFrames(40, 160);
  const long randomAfter = random();

  restoreWorld(midway);
  playFrames(40, 100);  // a different future first: the restore must undo all of it
  restoreWorld(midway);
  EXPECT_TRUE(playFrames(40, 160) == uninterrupted);
  EXPECT_EQ(random(), randomAfter);
}

TEST(WorldSnapshot, TakingOverRandomKeepsItsSequence) {
  for (int i = 0; i < 37; ++i) random();
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  const pid_t child = fork();
  if (child == 0) {
    long values[10];
    for (long& value : values) value = random();
    _exit(write(pipeEnds[1], values, sizeof values) == sizeof values ? 0 : 1);
  }
  takeOverRandomState();
  long expected[10] = {}, taken[10];
  ASSERT_EQ(read(pipeEnds[0], expected, sizeof expected), static_cast<ssize_t>(sizeof expected));
  for (long& value : taken) value = random();
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_EQ(std::vector<long>(taken, taken + 10), std::vector<long>(expected, expected + 10));
}

}  // namespace
