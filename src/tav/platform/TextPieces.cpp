#include "tav/platform/TextPieces.h"

#include <algorithm>
#include <cstring>

namespace tav {

CTextPieces::CTextPieces(size_t longest, size_t blockSize)
    : m_longest(std::max<size_t>(longest, 1)), m_block(std::max(blockSize, 2 * (m_longest + 1))) {}

bool CTextPieces::Open(const CString& path) {
  m_file.Close();
  m_path = path;
  m_begin = m_end = m_nul = 0;
  m_offset = 0;
  m_atEnd = false;
  m_line = m_linesDone = 0;
  return m_file.Open(path, CFile::modeRead);
}

void CTextPieces::Rewind() {
  if (!Open(m_path)) throw FileError("cannot open \"" + m_path + "\" again");
}

void CTextPieces::Refill() {
  const size_t kept = m_end - m_begin;
  std::memmove(m_block.data(), m_block.data() + m_begin, kept);
  m_offset += m_begin;
  m_begin = 0;
  const size_t wanted = m_block.size() - kept;
  const size_t got = m_file.Read(m_block.data() + kept, wanted);
  m_end = kept + got;
  m_atEnd = got < wanted;  // Read stops short only at the end
  m_nul = FindNul(0);
}

size_t CTextPieces::FindNul(size_t from) const {
  const void* nul = std::memchr(m_block.data() + from, '\0', m_end - from);
  return nul == nullptr ? m_end : static_cast<size_t>(static_cast<const char*>(nul) - m_block.data());
}

size_t CTextPieces::PieceLength() const {
  const char* first = m_block.data() + m_begin;
  const size_t available = m_end - m_begin;
  // One byte more than a piece holds: a CR LF may end a full piece.
  const size_t window = std::min(available, m_longest + 1);
  const auto* feed = static_cast<const char*>(std::memchr(first, '\n', window));
  if (feed != nullptr) {
    const auto length = static_cast<size_t>(feed - first) + 1;
    if (length <= m_longest || first[m_longest - 1] == '\r') return length;
  }
  return std::min(available, m_longest);
}

bool CTextPieces::Next(std::string_view& text) {
  if (m_end - m_begin <= m_longest && !m_atEnd) Refill();
  if (m_begin == m_end) return false;
  const char* first = m_block.data() + m_begin;
  const size_t start = m_begin;
  size_t length = PieceLength();
  m_begin += length;
  m_line = m_linesDone + 1;
  if (first[length - 1] == '\n') ++m_linesDone;
  if (m_begin > m_nul) {  // the text ends at the NUL
    length = m_nul - start;
    m_nul = FindNul(m_begin);
  } else if (first[length - 1] == '\n') {
    --length;
    if (length > 0 && first[length - 1] == '\r') --length;
  }
  text = std::string_view(first, length);
  return true;
}

}  // namespace tav
