// Reading the element groups of a version-0 document record.
//
// That layout stores each group's record without saying which kind of group
// it is, and a support spring group's record without the number of spring
// entries it holds. A group the reading document already holds is read as
// its own kind with its own spring count; for the others, every way of
// reading the bytes is tried: the kinds and spring counts are settled when
// exactly one way reads all groups and the rest of the document record.
// Internal to the model archive; not part of the public interface.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "tav/platform/Archive.h"

namespace tav {

// How one group record is read: its kind (CTavGroup::Kind) and, for a spring
// group, how many spring entries follow its constants.
struct GroupReading {
  int32_t kind = 0;
  int32_t springs = 0;
  bool operator==(const GroupReading&) const = default;
};

struct OldLayoutGroups {
  // The bytes from the first group record to the end of the archive.
  std::vector<uint8_t> bytes;
  int32_t groupCount = 0;
  // The groups the reading document holds, in order; they keep their kind.
  std::vector<GroupReading> present;
  // What the record holds before the groups, for telling entries apart.
  int32_t joints = 0;
  int32_t links = 0;
  // Reads the rest of the document record after the groups (throwing
  // ArchiveError when it does not read).
  std::function<void(CArchive&)> readRest;
  // Nothing may follow the record: a reading that leaves bytes over is
  // passed over where more than one reading fits otherwise.
  bool recordEndsArchive = false;
};

// The one reading of every group, or ArchiveError saying why there is none
// or more than one. `offset` is where the group records start in the archive.
std::vector<GroupReading> SettleOldLayoutGroups(const OldLayoutGroups& layout, uint64_t offset);

}  // namespace tav
