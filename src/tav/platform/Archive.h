// Binary archive of model records, in store or load mode over a CFile.
//
// Values are little-endian whatever the host: LONG (int32), BYTE, WORD,
// DWORD, DOUBLE (IEEE 754), and strings with a length prefix (one byte below
// 255; else 0xFF and a WORD below 0xFFFE; else 0xFF, 0xFFFF and a DWORD),
// then the bytes without terminator. The archive borrows its file, which
// must outlive it. A short, damaged or failed read throws ArchiveError naming
// the byte offset; a failed write arrives as the file's FileError.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string_view>
#include <type_traits>
#include <vector>

#include "tav/platform/File.h"
#include "tav/platform/String.h"

namespace tav {

class ArchiveError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class CArchive {
 public:
  enum Mode { store = 0, load = 1 };
  static constexpr size_t kDefaultBufferSize = 4096;

  CArchive(CFile* file, Mode mode, size_t bufferSize = kDefaultBufferSize);
  // Flushes what is still buffered when Close was not called; an error at
  // that point cannot be reported, so hosts call Close.
  ~CArchive();
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  bool IsStoring() const { return m_mode == store; }
  bool IsLoading() const { return m_mode == load; }
  CFile* GetFile() const { return m_pFile; }

  void Write(const void* data, size_t size);
  // Reads exactly `size` bytes or throws ArchiveError.
  void Read(void* data, size_t size);
  // Reads `values.size()` values (DOUBLE or LONG) at once, decoded from the
  // buffer without a call per value. Throws ArchiveError as Read does when
  // the archive ends first; the values before that point are filled and
  // GetOffset is past them.
  void ReadValues(std::span<double> values);
  void ReadValues(std::span<int32_t> values);
  // Writes text as it is, without length prefix (the solver input files).
  void WriteString(std::string_view text);

  // Every byte a load can still read, without consuming any: the rest of the
  // file is taken into the archive's buffer, so later reads come from there.
  std::vector<uint8_t> PeekRemaining();
  // Bytes that a load can still read (buffered and in the file).
  uint64_t GetBytesLeft() const;
  // Bytes a load holds in its buffer: a read of no more than these takes
  // them from there and cannot stop halfway.
  size_t GetBufferedBytes() const { return m_mode == load ? m_end - m_begin : 0; }
  // Offset of the next byte from the start of the archive.
  uint64_t GetOffset() const { return m_offset; }
  // Throws ArchiveError unless `count` records of at least `minRecordBytes`
  // each can still be read; `what` names the records in the message.
  void CheckCount(int64_t count, size_t minRecordBytes, const char* what) const;

  // Writes out the buffer (store mode).
  void Flush();
  // Flushes and detaches from the file; later use throws ArchiveError.
  void Close();
  // Detaches without flushing.
  void Abort();

  CArchive& operator<<(int32_t value);
  CArchive& operator<<(uint8_t value);
  CArchive& operator<<(uint16_t value);
  CArchive& operator<<(uint32_t value);
  CArchive& operator<<(double value);
  CArchive& operator<<(const CString& value);

  CArchive& operator>>(int32_t& value);
  CArchive& operator>>(uint8_t& value);
  CArchive& operator>>(uint16_t& value);
  CArchive& operator>>(uint32_t& value);
  CArchive& operator>>(double& value);
  CArchive& operator>>(CString& value);

  // Enumerations travel as LONG.
  template <typename E>
  requires std::is_enum_v<E> CArchive& operator<<(E value) { return *this << static_cast<int32_t>(value); }
  template <typename E>
  requires std::is_enum_v<E> CArchive& operator>>(E& value) {
    int32_t raw = 0;
    *this >> raw;
    value = static_cast<E>(raw);
    return *this;
  }

 private:
  void EnsureOpen() const;
  [[noreturn]] void ThrowShort(size_t wanted, uint64_t at) const;
  uint64_t ReadUnsigned(size_t bytes);
  template <typename T>
  void ReadBulk(std::span<T> values);
  void WriteUnsigned(uint64_t value, size_t bytes);

  CFile* m_pFile;
  Mode m_mode;
  std::vector<uint8_t> m_buffer;
  size_t m_begin = 0;  // load: next unread byte in the buffer
  size_t m_end = 0;    // load: end of valid bytes; store: bytes held
  uint64_t m_offset = 0;
  bool m_closed = false;
};

}  // namespace tav
