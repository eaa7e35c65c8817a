#include "tav/platform/Archive.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <type_traits>

namespace tav {

CArchive::CArchive(CFile* file, Mode mode, size_t bufferSize)
    : m_pFile(file), m_mode(mode), m_buffer(std::max<size_t>(bufferSize, 16)) {}

CArchive::~CArchive() {
  if (m_closed || m_mode != store) return;
  try {
    Flush();
  } catch (...) {
    // A destructor must not throw; Close reports this error to a careful host.
  }
}

void CArchive::EnsureOpen() const {
  if (m_closed || m_pFile == nullptr) throw ArchiveError("archive used after Close");
}

void CArchive::Write(const void* data, size_t size) {
  EnsureOpen();
  if (m_mode != store) throw ArchiveError("archive in load mode cannot write");
  const auto* in = static_cast<const uint8_t*>(data);
  while (size > 0) {
    if (m_end == m_buffer.size()) Flush();
    const size_t n = std::min(size, m_buffer.size() - m_end);
    std::memcpy(m_buffer.data() + m_end, in, n);
    m_end += n;
    in += n;
    size -= n;
    m_offset += n;
  }
}

void CArchive::WriteString(std::string_view text) { Write(text.data(), text.size()); }

void CArchive::Flush() {
  EnsureOpen();
  if (m_mode != store || m_end == 0) return;
  const size_t n = m_end;
  m_end = 0;
  m_pFile->Write(m_buffer.data(), n);
}

void CArchive::Close() {
  if (m_closed) return;
  if (m_mode == store) Flush();
  m_closed = true;
}

void CArchive::Abort() { m_closed = true; }

void CArchive::ThrowShort(size_t wanted, uint64_t at) const {
  CString where = m_pFile != nullptr && !m_pFile->GetFilePath().empty() ? " of \"" + m_pFile->GetFilePath() + "\"" : "";
  throw ArchiveError("archive ends early: " + std::to_string(wanted) + " more bytes needed at offset " +
                     std::to_string(at) + where);
}

void CArchive::Read(void* data, size_t size) {
  EnsureOpen();
  if (m_mode != load) throw ArchiveError("archive in store mode cannot read");
  auto* out = static_cast<uint8_t*>(data);
  const size_t wanted = size;
  const uint64_t start = m_offset;
  while (size > 0) {
    if (m_begin == m_end) {
      m_begin = 0;
      try {
        m_end = m_pFile->Read(m_buffer.data(), m_buffer.size());
      } catch (const FileError& error) {
        throw ArchiveError(error.what());  // a failed read is a failed load
      }
      if (m_end == 0) ThrowShort(wanted, start);
    }
    const size_t n = std::min(size, m_end - m_begin);
    std::memcpy(out, m_buffer.data() + m_begin, n);
    m_begin += n;
    out += n;
    size -= n;
    m_offset += n;
  }
}

namespace {

// The little-endian value of `bytes` bytes at `in`, whatever the host.
uint64_t DecodeUnsigned(const uint8_t* in, size_t bytes) {
  uint64_t value = 0;
  for (size_t i = 0; i < bytes; ++i) value |= static_cast<uint64_t>(in[i]) << (8 * i);
  return value;
}

template <typename T>
T FromBits(uint64_t bits) {
  if constexpr (std::is_same_v<T, double>) {
    return std::bit_cast<double>(bits);
  } else {
    return static_cast<T>(static_cast<uint32_t>(bits));
  }
}

}  // namespace

// Whole values come straight from the buffer; one that the buffer holds
// only in part goes through Read, which refills it (or finds the end).
template <typename T>
void CArchive::ReadBulk(std::span<T> values) {
  EnsureOpen();
  if (m_mode != load) throw ArchiveError("archive in store mode cannot read");
  constexpr size_t kSize = sizeof(T);
  size_t done = 0;
  while (done < values.size()) {
    const size_t whole = std::min(values.size() - done, (m_end - m_begin) / kSize);
    if (whole == 0) {
      values[done++] = FromBits<T>(ReadUnsigned(kSize));
      continue;
    }
    const uint8_t* in = m_buffer.data() + m_begin;
    if constexpr (std::endian::native == std::endian::little) {
      std::memcpy(values.data() + done, in, whole * kSize);  // the host's order is the archive's
    } else {
      for (size_t i = 0; i < whole; ++i) values[done + i] = FromBits<T>(DecodeUnsigned(in + i * kSize, kSize));
    }
    done += whole;
    m_begin += whole * kSize;
    m_offset += whole * kSize;
  }
}

void CArchive::ReadValues(std::span<double> values) { ReadBulk(values); }
void CArchive::ReadValues(std::span<int32_t> values) { ReadBulk(values); }

std::vector<uint8_t> CArchive::PeekRemaining() {
  EnsureOpen();
  if (m_mode != load) throw ArchiveError("archive in store mode cannot read");
  constexpr size_t kChunk = 64 * 1024;
  // The unread bytes move to the front; the rest of the file follows them.
  m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(m_begin));
  m_end -= m_begin;
  m_begin = 0;
  for (;;) {
    m_buffer.resize(m_end + kChunk);
    size_t n = 0;
    try {
      n = m_pFile->Read(m_buffer.data() + m_end, kChunk);
    } catch (const FileError& error) {
      throw ArchiveError(error.what());
    }
    if (n == 0) break;
    m_end += n;
  }
  return std::vector<uint8_t>(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(m_end));
}

uint64_t CArchive::GetBytesLeft() const {
  if (m_mode != load || m_closed || m_pFile == nullptr) return 0;
  const uint64_t length = m_pFile->GetLength();
  const uint64_t position = m_pFile->GetPosition();
  return (m_end - m_begin) + (length > position ? length - position : 0);
}

void CArchive::CheckCount(int64_t count, size_t minRecordBytes, const char* what) const {
  if (count < 0) {
    throw ArchiveError(CString("negative count of ") + what + " at offset " + std::to_string(m_offset));
  }
  const uint64_t left = GetBytesLeft();
  if (minRecordBytes > 0 && static_cast<uint64_t>(count) > left / minRecordBytes) {
    throw ArchiveError(CString("count of ") + what + " (" + std::to_string(count) + ") at offset " +
                       std::to_string(m_offset) + " exceeds the " + std::to_string(left) + " bytes left");
  }
}

void CArchive::WriteUnsigned(uint64_t value, size_t bytes) {
  uint8_t raw[8];
  for (size_t i = 0; i < bytes; ++i) raw[i] = static_cast<uint8_t>(value >> (8 * i));
  Write(raw, bytes);
}

uint64_t CArchive::ReadUnsigned(size_t bytes) {
  uint8_t raw[8];
  Read(raw, bytes);
  return DecodeUnsigned(raw, bytes);
}

CArchive& CArchive::operator<<(int32_t value) {
  WriteUnsigned(static_cast<uint32_t>(value), 4);
  return *this;
}
CArchive& CArchive::operator<<(uint8_t value) {
  WriteUnsigned(value, 1);
  return *this;
}
CArchive& CArchive::operator<<(uint16_t value) {
  WriteUnsigned(value, 2);
  return *this;
}
CArchive& CArchive::operator<<(uint32_t value) {
  WriteUnsigned(value, 4);
  return *this;
}
CArchive& CArchive::operator<<(double value) {
  WriteUnsigned(std::bit_cast<uint64_t>(value), 8);
  return *this;
}

CArchive& CArchive::operator<<(const CString& value) {
  const size_t length = value.size();
  if (length < 0xFF) {
    *this << static_cast<uint8_t>(length);
  } else if (length < 0xFFFE) {
    *this << static_cast<uint8_t>(0xFF) << static_cast<uint16_t>(length);
  } else {
    if (length > std::numeric_limits<uint32_t>::max() - 1) throw ArchiveError("string too long for an archive");
    *this << static_cast<uint8_t>(0xFF) << static_cast<uint16_t>(0xFFFF) << static_cast<uint32_t>(length);
  }
  Write(value.data(), length);
  return *this;
}

CArchive& CArchive::operator>>(int32_t& value) {
  value = static_cast<int32_t>(static_cast<uint32_t>(ReadUnsigned(4)));
  return *this;
}
CArchive& CArchive::operator>>(uint8_t& value) {
  value = static_cast<uint8_t>(ReadUnsigned(1));
  return *this;
}
CArchive& CArchive::operator>>(uint16_t& value) {
  value = static_cast<uint16_t>(ReadUnsigned(2));
  return *this;
}
CArchive& CArchive::operator>>(uint32_t& value) {
  value = static_cast<uint32_t>(ReadUnsigned(4));
  return *this;
}
CArchive& CArchive::operator>>(double& value) {
  value = std::bit_cast<double>(ReadUnsigned(8));
  return *this;
}

CArchive& CArchive::operator>>(CString& value) {
  const uint64_t start = m_offset;
  uint64_t length = ReadUnsigned(1);
  if (length == 0xFF) {
    length = ReadUnsigned(2);
    if (length == 0xFFFE) {
      throw ArchiveError("wide-character string at offset " + std::to_string(start) + " is not supported");
    }
    if (length == 0xFFFF) {
      length = ReadUnsigned(4);
      if (length == 0xFFFFFFFF) {
        throw ArchiveError("64-bit string length at offset " + std::to_string(start) + " is not supported");
      }
    }
  }
  if (length > GetBytesLeft()) {
    throw ArchiveError("string of " + std::to_string(length) + " bytes at offset " + std::to_string(start) +
                       " runs past the end of the archive");
  }
  CString text(static_cast<size_t>(length), '\0');
  Read(text.data(), text.size());
  value = std::move(text);
  return *this;
}

}  // namespace tav
