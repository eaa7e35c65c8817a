// A text file cut into the same pieces as CStdioFile::ReadString cuts it (at
// most `longest` characters, ending after a line feed when one comes before
// that; CR LF counts as one character), read in large blocks and handed out
// as views into the block, so that a reader of a long report neither copies
// nor measures its lines. The reader owns its file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "tav/platform/File.h"
#include "tav/platform/String.h"

namespace tav {

class CTextPieces {
 public:
  // `longest` of at least 1; a block holds at least two pieces whatever
  // `blockSize` says.
  explicit CTextPieces(size_t longest, size_t blockSize = size_t{1} << 18);

  // False when the file cannot be opened; nothing is read yet.
  bool Open(const CString& path);
  // The text of the next piece: its characters up to its line end (LF or
  // CR LF) or up to a NUL in it, whichever comes first. False at the end of
  // the file. A read error, or no file open, throws FileError.
  bool Next(std::string_view& text);
  // Back to the first piece (the file opened again); throws FileError when
  // it can no longer be opened.
  void Rewind();
  // The bytes of the file taken by the pieces so far.
  uint64_t GetPosition() const { return m_offset + m_begin; }
  uint64_t GetLength() const { return m_file.GetLength(); }
  // The line the last piece came from, counting from 1.
  int64_t GetLine() const { return m_line; }
  void Close() { m_file.Close(); }

 private:
  // Moves the unread bytes to the front and fills the rest of the block.
  void Refill();
  // The bytes of the piece that starts at m_begin, line end included.
  size_t PieceLength() const;
  // The first NUL in the block from `from` on; m_end when there is none.
  size_t FindNul(size_t from) const;

  size_t m_longest;
  std::vector<char> m_block;
  CFile m_file;
  CString m_path;
  size_t m_begin = 0;     // first unread byte in m_block
  size_t m_end = 0;       // bytes held in m_block
  uint64_t m_offset = 0;  // where m_block starts in the file
  bool m_atEnd = false;   // the last block read reached the end of the file
  size_t m_nul = 0;       // the first NUL from m_begin on, or m_end
  int64_t m_line = 0;
  int64_t m_linesDone = 0;
};

}  // namespace tav
