#include "platform/script/demo_recorder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/script/script_format.h"

namespace {

constexpr size_t kBufferBytes = 8 << 20;  // about an hour of flight between two level ends
constexpr size_t kLongestLine = 1024;

struct Recorder {
  int fd = -1;
  bool failed = false;
  std::string path;
  size_t used = 0;
  KeySet runKeys;
  long runLength = 0;  // polls in the run not yet written
  bool runTranslated = false;
  bool haveReading = false;
  long long lastReading = 0;
};

Recorder recorder;
char buffer[kBufferBytes];
int (*keyChars)(int scancode) = nullptr;

void giveUp(int error) {
  if (!recorder.failed) {
    std::fprintf(stderr, "kravix: cannot write the demo %s (%s); the game goes on without it\n",
                 printable(recorder.path, 200).c_str(), std::strerror(error));
  }
  recorder.failed = true;
  recorder.used = 0;
}

void writeBuffer() {
  size_t done = 0;
  while (!recorder.failed && done < recorder.used) {
    ssize_t written = write(recorder.fd, buffer + done, recorder.used - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0)
      giveUp(written < 0 ? errno : ENOSPC);
    else
      done += static_cast<size_t>(written);
  }
  recorder.used = 0;
}

bool recordingLive() {
  return recorder.fd >= 0 && !recorder.failed;
}

void appendLine(const char* format, ...) {
  if (!recordingLive()) return;
  if (kBufferBytes - recorder.used < kLongestLine) writeBuffer();
  va_list arguments;
  va_start(arguments, format);
  int length = std::vsnprintf(buffer + recorder.used, kLongestLine, format, arguments);
  va_end(arguments);
  if (length > 0) recorder.used += static_cast<size_t>(length);
}

void writeRun() {
  if (recorder.runLength == 0) return;
  char line[kLongestLine];
  size_t length = 0;
  if (recorder.runKeys == KeySet{})
    length = std::snprintf(line, sizeof line, "wait");
  else
    length = std::snprintf(line, sizeof line, "hold");
  for (int code = 1; code < 128; ++code) {
    if (!recorder.runKeys.has(code)) continue;
    char name[kKeyNameSize];
    keyNameOf(code, recorder.runTranslated, name);
    length += std::snprintf(line + length, sizeof line - length, " %s", name);
  }
  appendLine("%s %ld\n", line, recorder.runLength);
  recorder.runLength = 0;
}

void appendLayout() {
  if (!keyChars) return;
  KeyLayout layout;
  for (int code = 1; code < 128; ++code) layout.printed[code] = static_cast<char>(keyChars(code));
  appendLine("layout %s\n", layoutWord(layout).c_str());
}

void appendName(const char* name) {
  char hex[2 * kDemoNameLength + 1] = "-";
  for (int i = 0; i < kDemoNameLength && name[i] != '\0'; ++i) {
    std::snprintf(hex + 2 * i, 3, "%02X", static_cast<unsigned char>(name[i]));
  }
  appendLine(" %s\n", hex);
}

}  // namespace

bool startDemoRecording(const char* path, std::string* error) {
  int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0666);
  if (fd < 0) {
    *error =
        std::string("cannot write the demo ") + printable(path, 200) + ": " + std::strerror(errno);
    return false;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  recorder = Recorder{};
  recorder.fd = fd;
  recorder.path = path;
  return true;
}

void setDemoKeyChars(int (*keyChar)(int scancode)) {
  keyChars = keyChar;
}

void recordDemoTable(const DemoTable& table) {
  const uint8_t* s = table.settings;
  appendLine("demo %d\nsettings %d %d %d %d %d %d\n", kDemoVersion, s[0], s[1], s[2], s[3], s[4],
             s[5]);
  appendLayout();
  for (int row = 0; row < kDemoRows; ++row) {
    appendLine("score %d %u", row, table.scores[row]);
    appendName(table.names[row]);
  }
}

void recordDemoPoll(int (*keyHeld)(int scancode), bool translated) {
  if (!recordingLive()) return;
  KeySet keys;
  for (int code = 1; code < 128; ++code) {
    if (keyHeld(code)) keys.add(code);
  }
  if (recorder.runLength > 0 && (keys != recorder.runKeys || translated != recorder.runTranslated))
    writeRun();
  recorder.runKeys = keys;
  recorder.runTranslated = translated;
  ++recorder.runLength;
}

void recordDemoClock(const timeval& reading) {
  if (!recordingLive()) return;
  writeRun();
  long long micros = reading.tv_sec * kMicrosPerSecond + reading.tv_usec;
  if (!recorder.haveReading) {
    appendLine("epoch %lld %lld\n", micros / kMicrosPerSecond, micros % kMicrosPerSecond);
    recorder.lastReading = micros;
    recorder.haveReading = true;
  }
  appendLine("time %lld\n", micros - recorder.lastReading);
  recorder.lastReading = micros;
}

void recordDemoShot(std::string_view name) {
  if (!recordingLive()) return;
  writeRun();
  appendLine("shot %.*s\n", static_cast<int>(name.size() > 200 ? 200 : name.size()), name.data());
}

void writeOutDemo() {
  if (recordingLive()) writeBuffer();
}

void finishDemoRecording() {
  if (recorder.fd < 0) return;
  writeRun();
  appendLine("end\n");
  writeBuffer();
  if (close(recorder.fd) != 0 && !recorder.failed) giveUp(errno);
  recorder.fd = -1;
}
