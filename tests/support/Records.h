// Storing a record into memory and loading it back.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tav/platform/Archive.h"

namespace tav::test {

// The bytes that `write` stores into an archive: records built by hand.
template <typename Write>
std::vector<uint8_t> Bytes(Write write) {
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  write(ar);
  ar.Close();
  return file.GetData();
}

// The bytes `object.Serialize` stores.
template <typename T>
std::vector<uint8_t> StoreRecord(T& object) {
  return Bytes([&object](CArchive& ar) { object.Serialize(ar); });
}

// Loads `bytes` into `object`; returns the bytes left unread.
template <typename T>
uint64_t LoadRecord(const std::vector<uint8_t>& bytes, T& object) {
  CMemFile file(bytes);
  CArchive ar(&file, CArchive::load);
  object.Serialize(ar);
  return ar.GetBytesLeft();
}

// Stores `from` and loads the record into `to`, expecting it read whole and
// `to` to store the same bytes again; returns those bytes.
template <typename T>
std::vector<uint8_t> RoundTrip(T& from, T& to) {
  const auto bytes = StoreRecord(from);
  EXPECT_EQ(LoadRecord(bytes, to), 0U) << "the record was not read to its end";
  EXPECT_EQ(StoreRecord(to), bytes) << "the record loaded does not store the same bytes";
  return bytes;
}

// The same into a new object.
template <typename T>
std::vector<uint8_t> RoundTrip(T& from) {
  T to;
  return RoundTrip(from, to);
}

}  // namespace tav::test
