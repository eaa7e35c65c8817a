#include "tav/platform/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tav/platform/String.h"

extern char** environ;

namespace tav::process {

bool MakePipe(int& readEnd, int& writeEnd) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return false;
  readEnd = fds[0];
  writeEnd = fds[1];
  return true;
}

void CloseFd(int& fd) {
  if (fd < 0) return;
  ::close(fd);
  fd = -1;
}

bool SetNonBlocking(int fd) {
  const int flags = ::fcntl(fd, F_GETFL);
  return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

bool WriteAll(int fd, const char* data, size_t size, int stopEvent) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written > 0) {
      data += written;
      size -= static_cast<size_t>(written);
      continue;
    }
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && errno == EAGAIN) {  // EWOULDBLOCK is the same number on Linux
      pollfd fds[2] = {{fd, POLLOUT, 0}, {stopEvent, POLLIN, 0}};
      const int ready = ::poll(fds, 2, -1);
      if (ready < 0 && errno != EINTR) return false;
      if (ready > 0 && fds[1].revents != 0) return false;
      continue;
    }
    return false;
  }
  return true;
}

int MakeEvent() { return ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK); }

void SignalEvent(int event) {
  if (event < 0) return;
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = ::write(event, &one, sizeof one);
}

CString ProgramPath() {
  char self[4096];
  const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
  return length > 0 ? CString(self, static_cast<size_t>(length)) : CString();
}

CStringArray SplitCommandLine(const CString& commandLine) {
  CStringArray arguments;
  SplitAtBlanks(commandLine, arguments);
  return arguments;
}

pid_t Spawn(const CStringArray& arguments, int in, int out, int err, const CString& directory, CString* error) {
  if (arguments.empty()) {
    if (error != nullptr) *error = "empty command line";
    return -1;
  }
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&actions);
  posix_spawnattr_init(&attributes);
  posix_spawn_file_actions_adddup2(&actions, in, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err, STDERR_FILENO);
  if (!directory.empty()) posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
  posix_spawnattr_setpgroup(&attributes, 0);
  // The child starts with default signal handling and nothing blocked.
  sigset_t signals;
  sigemptyset(&signals);
  posix_spawnattr_setsigmask(&attributes, &signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &signals);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  std::vector<char*> argv;
  for (const CString& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  const bool hasPath = arguments[0].find('/') != CString::npos;
  const int result = hasPath ? ::posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ)
                             : ::posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (result != 0) {
    if (error != nullptr) *error = std::strerror(result);
    return -1;
  }
  return pid;
}

int OpenProcessEvent(pid_t pid) {
#ifdef SYS_pidfd_open
  const long fd = ::syscall(SYS_pidfd_open, pid, 0);
  if (fd >= 0) {
    ::fcntl(static_cast<int>(fd), F_SETFD, FD_CLOEXEC);
    return static_cast<int>(fd);
  }
#else
  (void)pid;
#endif
  return -1;
}

int WaitReadable(int first, int second, int milliseconds) {
  pollfd fds[2] = {{first, POLLIN, 0}, {second, POLLIN, 0}};
  for (;;) {
    const int ready = ::poll(fds, 2, milliseconds);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return 0;
    return (fds[0].revents != 0 ? 1 : 0) | (fds[1].revents != 0 ? 2 : 0);
  }
}

bool HasEnded(pid_t pid) {
  siginfo_t info{};
  if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0) return true;
  return info.si_pid == pid;
}

int TryReap(pid_t pid) {
  int status = 0;
  for (;;) {
    const pid_t result = ::waitpid(pid, &status, WNOHANG);
    if (result == pid) return status;
    if (result < 0 && errno == EINTR) continue;
    return result == 0 ? -1 : 0;
  }
}

int Reap(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return 0;
  }
  return status;
}

}  // namespace tav::process
