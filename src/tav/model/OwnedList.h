// Records of owned object lists: "LONG count, then each object's record".
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "tav/platform/Archive.h"

namespace tav {

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

}  // namespace tav
