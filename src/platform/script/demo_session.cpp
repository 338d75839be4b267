#include "platform/script/demo_session.h"

#include <time.h>

#include <utility>

#include "platform/keyboard.h"
#include "platform/script/demo_recorder.h"
#include "platform/script/script_player.h"

namespace {

constexpr long long kLateLimit = 250000;  // later than this, the pace starts afresh
constexpr long long kLongestWait = kMicrosPerSecond;

struct Session {
  DemoStart start = DemoStart::kScoreFile;
  DemoTable table{};
  bool playing = false;
  bool paceSet = false;
  long long paceRealBase = 0;  // the monotonic clock when the demo's clock stood at paceDemoBase
  long long paceDemoBase = 0;
};

Session session;

long long monotonicMicros() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * kMicrosPerSecond + now.tv_nsec / 1000;
}

// Waits until the reading's moment, as far after the first reading as it was recorded.
void waitForReading(long long reading) {
  long long now = monotonicMicros();
  long long wait = session.paceRealBase + (reading - session.paceDemoBase) - now;
  if (!session.paceSet || wait < -kLateLimit || wait > kLongestWait) {
    session.paceSet = true;  // the first reading, too late to catch up, or a jump in the clock
    session.paceRealBase = now;
    session.paceDemoBase = reading;
    return;
  }
  if (wait <= 0) return;
  timespec pause{static_cast<time_t>(wait / kMicrosPerSecond),
                 static_cast<long>(wait % kMicrosPerSecond) * 1000};
  while (nanosleep(&pause, &pause) != 0) {
  }
}

int playerKeyHeld(int scancode) {
  return scriptKeyHeld(scriptPlayer(), scancode);
}

}  // namespace

void setDemoStart(DemoStart start, const DemoTable& table) {
  session.start = start;
  session.table = table;
}

DemoStart demoStart(DemoTable* table) {
  *table = session.table;
  return session.start;
}

void recordDemoStart(const DemoTable& table) {
  recordDemoTable(table);
}

void markDemoLevelEnd() {
  writeOutDemo();
}

void startWindowPlayback(ParsedScript script) {
  startScript(scriptPlayer(), std::move(script));
  session.playing = true;
}

bool demoPlaying() {
  return session.playing;
}

void takeDemoPoll(int (*liveKeyHeld)(int scancode), bool translated) {
  if (session.playing) {
    ScriptPlayer& player = scriptPlayer();
    if (liveKeyHeld(SCANCODE_ESCAPE) || liveKeyHeld(SCANCODE_F12)) stopScript(player);
    player.translateCursorKeys = translated;
    takeScriptPoll(player);
  }
  recordDemoPoll(session.playing ? playerKeyHeld : liveKeyHeld, translated);
}

int demoKeyHeld(int scancode) {
  return playerKeyHeld(scancode);
}

int demoKeyChar(int scancode) {
  return scriptKeyChar(scriptPlayer(), scancode);
}

int takeDemoClockReading(timeval* now) {
  ScriptPlayer& player = scriptPlayer();
  takeScriptClockReading(player, now);
  if (!player.done)
    waitForReading(now->tv_sec * kMicrosPerSecond + now->tv_usec);  // else: out at once
  recordDemoClock(*now);
  return 0;
}
