// Setup that several test files share.
#pragma once

#include <fstream>
#include <string>

#include "tav/document/TavData.h"

namespace tav::test {

// Writes `bytes` (a string or a vector of bytes) to `path`, replacing any
// file there; returns the path.
template <typename Bytes>
std::string WriteFileBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path;
}

// Adds joints at `i` and `j`, then a beam from the first to the second in a
// new beam group without sections; returns the group.
inline CTavGroupElement* AddBeamBetween(CTavData& doc, const CVector& i, const CVector& j) {
  const int32_t first = doc.AddJoint(i, -1);
  const int32_t second = doc.AddJoint(j, -1);
  CTavGroupElement* group = doc.AddGroupElement();
  doc.AddBeam(group, 0, first, second, 0, 0, 0, 0, 0, 0, 0);
  return group;
}

}  // namespace tav::test
