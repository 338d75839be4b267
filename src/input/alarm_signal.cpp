#include "input/alarm_signal.h"

#include <unistd.h>

#include <csignal>

#include "input/controls.h"
#include "video/video_mode.h"

namespace {

constexpr unsigned kPollDeadlineSeconds = 1;

volatile sig_atomic_t alarmNoted = 0;

// Only async-signal-safe calls: a flag, alarm and _exit.
void onAlarmSignal(int /*signalNumber*/) {
  if (alarmNoted) _exit(1);
  alarmNoted = 1;
  alarm(kPollDeadlineSeconds);
}

}  // namespace

void installAlarmHandler() {
  struct sigaction action {};
  action.sa_handler = onAlarmSignal;
  action.sa_flags = SA_RESTART;  // the game's reads and writes go on until the poll acts
  sigemptyset(&action.sa_mask);
  sigaction(SIGALRM, &action, nullptr);
}

void endIfAlarmed() {
  if (!alarmNoted) return;
  stopKeyboard();
  setTextMode();
  _exit(1);
}
