#include "tav/platform/File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tav {

CFile::~CFile() {
  if (m_fd >= 0) ::close(m_fd);
}

bool CFile::Open(const CString& path, unsigned flags, CString* error) {
  if (m_fd >= 0) {
    if (error != nullptr) *error = "a file is already open";
    return false;
  }
  int oflags = O_CLOEXEC;
  if ((flags & modeReadWrite) != 0) {
    oflags |= O_RDWR;
  } else if ((flags & modeWrite) != 0) {
    oflags |= O_WRONLY;
  } else {
    oflags |= O_RDONLY;
  }
  if ((flags & modeCreate) != 0) {
    oflags |= O_CREAT;
    if ((flags & modeNoTruncate) == 0) oflags |= O_TRUNC;
  }
  int fd;
  do {
    fd = ::open(path.c_str(), oflags, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    if (error != nullptr) *error = std::strerror(errno);
    return false;
  }
  m_fd = fd;
  m_strPath = path;
  return true;
}

void CFile::ThrowError(const char* action) const {
  throw FileError(CString("cannot ") + action + " \"" + m_strPath + "\": " + std::strerror(errno));
}

size_t CFile::Read(void* buffer, size_t count) {
  if (m_fd < 0) throw FileError("read from a file that is not open");
  auto* out = static_cast<char*>(buffer);
  size_t done = 0;
  while (done < count) {
    const ssize_t n = ::read(m_fd, out + done, count - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowError("read");
    }
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  return done;
}

void CFile::Write(const void* buffer, size_t count) {
  if (m_fd < 0) throw FileError("write to a file that is not open");
  const auto* in = static_cast<const char*>(buffer);
  size_t done = 0;
  while (done < count) {
    const ssize_t n = ::write(m_fd, in + done, count - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowError("write");
    }
    done += static_cast<size_t>(n);
  }
}

uint64_t CFile::GetLength() const {
  struct stat info {};
  if (m_fd < 0 || ::fstat(m_fd, &info) != 0) return 0;
  return static_cast<uint64_t>(info.st_size);
}

uint64_t CFile::GetPosition() const {
  if (m_fd < 0) return 0;
  const off_t pos = ::lseek(m_fd, 0, SEEK_CUR);
  return pos < 0 ? 0 : static_cast<uint64_t>(pos);
}

void CFile::Flush() {
  // Writes go straight to the descriptor; nothing is held back here.
}

void CFile::Close() {
  if (m_fd < 0) return;
  const int fd = m_fd;
  m_fd = -1;
  if (::close(fd) != 0 && errno != EINTR) ThrowError("close");
}

bool CMemFile::Open(const CString&, unsigned flags, CString*) {
  if ((flags & modeCreate) != 0 && (flags & modeNoTruncate) == 0) m_data.clear();
  m_position = 0;
  return true;
}

size_t CMemFile::Read(void* buffer, size_t count) {
  const size_t n = std::min(count, m_data.size() - m_position);
  if (n > 0) std::memcpy(buffer, m_data.data() + m_position, n);
  m_position += n;
  return n;
}

void CMemFile::Write(const void* buffer, size_t count) {
  if (count == 0) return;
  if (m_position + count > m_data.size()) m_data.resize(m_position + count);
  std::memcpy(m_data.data() + m_position, buffer, count);
  m_position += count;
}

CReplacingFile::CReplacingFile(CString target) : m_target(std::move(target)), m_temporary(m_target + ".XXXXXX") {
  const int fd = ::mkstemp(m_temporary.data());
  if (fd < 0) throw FileError("cannot create a file beside \"" + m_target + "\": " + std::strerror(errno));
  // mkstemp makes the file private (0600); the finished file should look like
  // any other new file.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  ::close(fd);
}

CReplacingFile::~CReplacingFile() {
  if (!m_committed) ::unlink(m_temporary.c_str());
}

void CReplacingFile::Commit() {
  if (std::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
    throw FileError("cannot replace \"" + m_target + "\": " + std::strerror(errno));
  }
  m_committed = true;
}

}  // namespace tav
