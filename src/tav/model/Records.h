// Helpers for the archive records of model objects: every record begins
// with its version; owned lists are "LONG count, then each object's record".
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tav/platform/Archive.h"

namespace tav {

// Stores the values in order, or loads them in the same order, as the
// archive's mode says: a record's fields are listed once for both.
template <typename... T>
void Exchange(CArchive& ar, T&... values) {
  if (ar.IsStoring()) {
    (ar << ... << values);
  } else {
    (ar >> ... >> values);
  }
}

// Every element of a fixed array, in order.
template <typename T, size_t N>
void ExchangeEach(CArchive& ar, T (&values)[N]) {
  for (T& value : values) Exchange(ar, value);
}

// Stores `latest`, or loads the version and refuses one newer than `latest`.
// Returns the version of the record.
inline int32_t SerializeVersion(CArchive& ar, int32_t latest, const char* record) {
  if (ar.IsStoring()) {
    ar << latest;
    return latest;
  }
  int32_t version = 0;
  ar >> version;
  if (version < 0 || version > latest) {
    throw ArchiveError("unknown version " + std::to_string(version) + " of a " + record + " record at offset " +
                       std::to_string(ar.GetOffset() - 4));
  }
  return version;
}

// Makes `list` exactly `count` long: new objects (in their default state)
// are appended, surplus ones deleted from the end; the others stay in place.
template <typename T>
void ResizeOwned(std::vector<std::unique_ptr<T>>& list, int32_t count) {
  const size_t wanted = count < 0 ? 0 : static_cast<size_t>(count);
  if (list.size() > wanted) list.resize(wanted);
  while (list.size() < wanted) list.push_back(std::make_unique<T>());
}

// Stores the count and every object's record, or loads them: the count is
// checked against the bytes left (`minRecordBytes` per object), the list is
// resized to it and every object reads its own record.
template <typename T>
void SerializeOwned(CArchive& ar, std::vector<std::unique_ptr<T>>& list, size_t minRecordBytes, const char* what) {
  if (ar.IsStoring()) {
    ar << static_cast<int32_t>(list.size());
    for (auto& object : list) object->Serialize(ar);
  } else {
    int32_t count = 0;
    ar >> count;
    ar.CheckCount(count, minRecordBytes, what);
    ResizeOwned(list, count);
    for (auto& object : list) object->Serialize(ar);
  }
}

// An object that may be absent: LONG 0, or LONG 1 and its record. Loading
// creates the object when the record has one and deletes it when not.
template <typename T>
void SerializeOptional(CArchive& ar, std::unique_ptr<T>& object, const char* what) {
  if (ar.IsStoring()) {
    ar << int32_t{object ? 1 : 0};
    if (object) object->Serialize(ar);
    return;
  }
  int32_t present = 0;
  ar >> present;
  if (present != 0 && present != 1) {
    throw ArchiveError("the presence flag of a " + std::string(what) + " at offset " +
                       std::to_string(ar.GetOffset() - 4) + " is neither 0 nor 1");
  }
  if (present == 0) {
    object.reset();
    return;
  }
  if (!object) object = std::make_unique<T>();
  object->Serialize(ar);
}

}  // namespace tav
