#include "tav/platform/TextFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace tav {

CStdioFile::~CStdioFile() {
  if (m_pFile != nullptr) std::fclose(m_pFile);
}

bool CStdioFile::Open(const CString& path, CString* error) {
  Close();
  m_pFile = std::fopen(path.c_str(), "rbe");
  if (m_pFile == nullptr) {
    if (error != nullptr) *error = std::strerror(errno);
    return false;
  }
  m_strPath = path;
  return true;
}

bool CStdioFile::ReadString(char* buffer, size_t size) {
  if (m_pFile == nullptr || size == 0) return false;
  size_t used = 0;
  while (used + 1 < size) {
    int c = getc_unlocked(m_pFile);
    if (c == EOF) break;
    if (c == '\r') {
      const int next = getc_unlocked(m_pFile);
      if (next == '\n') {
        c = '\n';
      } else if (next != EOF) {
        ungetc(next, m_pFile);
      }
    }
    buffer[used++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  buffer[used] = '\0';
  if (std::ferror(m_pFile) != 0) {
    throw FileError("cannot read \"" + m_strPath + "\": " + std::strerror(errno));
  }
  return used > 0;
}

void CStdioFile::SeekToBegin() {
  if (m_pFile != nullptr) std::rewind(m_pFile);
}

uint64_t CStdioFile::GetPosition() const {
  if (m_pFile == nullptr) return 0;
  const long position = std::ftell(m_pFile);
  return position < 0 ? 0 : static_cast<uint64_t>(position);
}

uint64_t CStdioFile::GetLength() const {
  struct stat info {};
  if (m_pFile == nullptr || ::fstat(fileno(m_pFile), &info) != 0) return 0;
  return static_cast<uint64_t>(info.st_size);
}

void CStdioFile::Close() {
  if (m_pFile == nullptr) return;
  std::fclose(m_pFile);
  m_pFile = nullptr;
}

}  // namespace tav
