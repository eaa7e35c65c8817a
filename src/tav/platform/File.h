// Files the library reads and writes.
//
// CFile is a thin unbuffered wrapper over a POSIX file descriptor (buffering
// is the archive's job); CMemFile keeps the bytes in memory. Both are
// virtual so that tests can stand in a file that fails on purpose. A CFile
// owns its descriptor and closes it when destroyed.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "tav/platform/String.h"

namespace tav {

// An I/O error on an open file; the message names the file and the cause.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class CFile {
 public:
  enum OpenFlags : unsigned {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareDenyNone = 0x0040,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,
    typeBinary = 0x8000,
  };

  CFile() = default;
  virtual ~CFile();
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // Opens `path`. modeCreate creates the file or truncates it (unless
  // modeNoTruncate). Returns false when the file cannot be opened; `error`,
  // when given, then receives the reason.
  virtual bool Open(const CString& path, unsigned flags, CString* error = nullptr);
  // Reads up to `count` bytes; returns how many were read, 0 at the end.
  virtual size_t Read(void* buffer, size_t count);
  // Writes all `count` bytes or throws FileError.
  virtual void Write(const void* buffer, size_t count);
  virtual uint64_t GetLength() const;
  virtual uint64_t GetPosition() const;
  virtual void Flush();
  // Closes the file; an error reported by the system throws FileError.
  virtual void Close();

  bool IsOpen() const { return m_fd >= 0; }
  const CString& GetFilePath() const { return m_strPath; }

 protected:
  [[noreturn]] void ThrowError(const char* action) const;

 private:
  int m_fd = -1;
  CString m_strPath;
};

// A file held in memory: writes append at the position, reads consume from it.
class CMemFile : public CFile {
 public:
  CMemFile() = default;
  explicit CMemFile(std::vector<uint8_t> data) : m_data(std::move(data)) {}

  bool Open(const CString& path, unsigned flags, CString* error = nullptr) override;
  size_t Read(void* buffer, size_t count) override;
  void Write(const void* buffer, size_t count) override;
  uint64_t GetLength() const override { return m_data.size(); }
  uint64_t GetPosition() const override { return m_position; }
  void Flush() override {}
  void Close() override {}

  void SeekToBegin() { m_position = 0; }
  // Moves the position, at most to the end.
  void Seek(uint64_t position) { m_position = static_cast<size_t>(std::min<uint64_t>(position, m_data.size())); }
  const std::vector<uint8_t>& GetData() const { return m_data; }

 private:
  std::vector<uint8_t> m_data;
  size_t m_position = 0;
};

// A file written whole under a temporary name beside its target and renamed
// over the target only by Commit, so that nobody ever sees half of it.
// Destroyed uncommitted, it removes the temporary file. The temporary file
// gets the permissions of any new file (0666 less the umask).
class CReplacingFile {
 public:
  // Creates the empty temporary file; throws FileError when it cannot.
  explicit CReplacingFile(CString target);
  ~CReplacingFile();
  CReplacingFile(const CReplacingFile&) = delete;
  CReplacingFile& operator=(const CReplacingFile&) = delete;

  // The name to write to, until Commit.
  const CString& TemporaryPath() const { return m_temporary; }
  // Renames the temporary file over the target; throws FileError when it cannot.
  void Commit();

 private:
  CString m_target;
  CString m_temporary;
  bool m_committed = false;
};

}  // namespace tav
