// A text file read line by line, as the C library's fgets reads it: a piece
// holds at most `size` - 1 characters and ends after a line feed when one
// comes before that. Lines ending in CR LF read as if they ended in LF. The
// reader owns its file and closes it when destroyed.
#pragma once

#include <cstdint>
#include <cstdio>

#include "tav/platform/File.h"
#include "tav/platform/String.h"

namespace tav {

class CStdioFile {
 public:
  CStdioFile() = default;
  virtual ~CStdioFile();
  CStdioFile(const CStdioFile&) = delete;
  CStdioFile& operator=(const CStdioFile&) = delete;

  virtual bool Open(const CString& path, CString* error = nullptr);
  // Reads the next piece into `buffer` (NUL-terminated); false at the end of
  // the file. A read error throws FileError.
  virtual bool ReadString(char* buffer, size_t size);
  virtual void SeekToBegin();
  virtual uint64_t GetPosition() const;
  virtual uint64_t GetLength() const;
  virtual void Close();

 private:
  std::FILE* m_pFile = nullptr;
  CString m_strPath;
};

}  // namespace tav
