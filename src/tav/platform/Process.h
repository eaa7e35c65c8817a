// Thin wrappers over the POSIX calls that run a child process: pipes,
// spawning into a process group of its own, waiting with a time-out, and
// events that wake a poll.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <vector>

#include "tav/platform/String.h"

namespace tav::process {

// Both ends are close-on-exec: a child gets only what Spawn hands it.
bool MakePipe(int& readEnd, int& writeEnd);
// Closes `fd` when it is open and sets it to -1.
void CloseFd(int& fd);
// Makes writes to `fd` return at once when they cannot go on.
bool SetNonBlocking(int fd);
// Writes all of `data` to a non-blocking `fd`, waiting while the pipe is
// full; false when the write fails or `stopEvent` becomes readable first.
bool WriteAll(int fd, const char* data, size_t size, int stopEvent);
// An event a poll can wait on: Signal makes it readable for good.
int MakeEvent();
void SignalEvent(int event);

// The full name of the running program, or empty when the system cannot tell.
CString ProgramPath();
// Splits a command line at blanks (paths are not quoted).
CStringArray SplitCommandLine(const CString& commandLine);
// Starts the program with standard input, output and error from the three
// descriptors, in a process group of its own, in `directory` (the current
// one when empty). Returns the process id, or -1 with the reason in `error`.
pid_t Spawn(const CStringArray& arguments, int in, int out, int err, const CString& directory, CString* error);
// A descriptor that becomes readable when the process ends, or -1 where the
// system has none (then WaitForExit polls waitpid).
int OpenProcessEvent(pid_t pid);
// Waits up to `milliseconds` (negative: for ever) for either descriptor to
// become readable; returns a mask: 1 for `first`, 2 for `second`, 0 on
// time-out. A descriptor of -1 is not waited on.
int WaitReadable(int first, int second, int milliseconds);
// True when the process has ended (without reaping it).
bool HasEnded(pid_t pid);
// Reaps an ended child; returns its wait status, or -1 when it still runs.
int TryReap(pid_t pid);
// Reaps the child, waiting as long as it takes.
int Reap(pid_t pid);

}  // namespace tav::process
