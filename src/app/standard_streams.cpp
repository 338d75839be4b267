#include "app/standard_streams.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <initializer_list>

void openClosedStandardStreams() {
  for (int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    if (fcntl(stream, F_GETFD) != -1 || errno != EBADF) continue;
    // The lower streams are open by now, so the lowest free number is this one.
    int opened = open("/dev/null", stream == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    if (opened > STDERR_FILENO) close(opened);
  }
}
