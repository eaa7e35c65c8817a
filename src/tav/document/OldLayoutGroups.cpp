#include "tav/document/OldLayoutGroups.h"

#include <algorithm>
#include <map>
#include <string>

#include "tav/elements/TavGroupElement.h"
#include "tav/elements/TavGroupNllink.h"
#include "tav/elements/TavGroupSpring.h"
#include "tav/platform/File.h"

namespace tav {
namespace {

// Past this many trial readings the bytes are given up on; a real document
// settles in a few per group.
constexpr int64_t kTrialBudget = 200000;
constexpr uint64_t kSpringEntryBytes = 12;

const char* KindName(int32_t kind) {
  switch (kind) {
    case CTavGroup::kBeam:
      return "beam";
    case CTavGroup::kSpring:
      return "support spring";
    default:
      return "link";
  }
}

template <typename List>
bool NumberedByPosition(const List& list) {
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i]->m_nIndex != static_cast<int32_t>(i)) return false;
  }
  return true;
}

bool AllWithin(const CLongArray& numbers, int64_t count) {
  return std::all_of(numbers.begin(), numbers.end(), [count](int32_t n) { return n >= 0 && n < count; });
}

// A step of the search: the start of the next group record, reached by
// `ways` readings (counted up to 2); the first of them came from `parent`
// in the previous layer and read the previous group as `reading`.
struct State {
  uint64_t offset = 0;
  int ways = 0;
  size_t parent = 0;
  GroupReading reading;
};

class GroupSearch {
 public:
  // With `presentSpringsFixed` false, the groups the document holds keep
  // their kind but not their spring count (to tell why a reading failed).
  // With `endRequired`, the rest of the record must end the bytes.
  GroupSearch(const OldLayoutGroups& layout, bool presentSpringsFixed, bool endRequired)
      : m_layout(layout),
        m_file(layout.bytes),
        m_presentSpringsFixed(presentSpringsFixed),
        m_endRequired(endRequired) {}

  // How many complete readings there are (2 meaning two or more); with
  // exactly one, `readings` receives it. With none, `failedGroup` is the
  // group no reading got past (the group count: the rest of the record).
  int Run(std::vector<GroupReading>& readings, int32_t& failedGroup) {
    std::vector<std::vector<State>> layers(1, std::vector<State>{State{0, 1, 0, {}}});
    for (int32_t group = 0; group < m_layout.groupCount; ++group) {
      std::vector<State> next = Advance(group, layers.back());
      if (next.empty()) {
        failedGroup = group;
        return 0;
      }
      layers.push_back(std::move(next));
    }
    int ways = 0;
    size_t chosen = 0;
    const std::vector<State>& last = layers.back();
    for (size_t i = 0; i < last.size() && ways < 2; ++i) {
      if (!RestReads(last[i].offset)) continue;
      if (ways == 0) chosen = i;
      ways = std::min(2, ways + last[i].ways);
    }
    failedGroup = m_layout.groupCount;
    if (ways != 1) return ways;
    readings.assign(static_cast<size_t>(m_layout.groupCount), GroupReading{});
    for (size_t layer = layers.size() - 1; layer > 0; --layer) {
      readings[layer - 1] = layers[layer][chosen].reading;
      chosen = layers[layer][chosen].parent;
    }
    return 1;
  }

 private:
  std::vector<State> Advance(int32_t group, const std::vector<State>& from) {
    std::map<uint64_t, size_t> reached;
    std::vector<State> next;
    for (size_t i = 0; i < from.size(); ++i) {
      for (const GroupReading& reading : Candidates(group, from[i].offset)) {
        const std::optional<uint64_t> end = TryGroup(group, reading, from[i].offset);
        if (!end) continue;
        const auto [at, added] = reached.try_emplace(*end, next.size());
        if (added) {
          next.push_back(State{*end, from[i].ways, i, reading});
        } else {
          next[at->second].ways = std::min(2, next[at->second].ways + from[i].ways);
        }
      }
    }
    return next;
  }

  bool IsPresent(int32_t group) const { return static_cast<size_t>(group) < m_layout.present.size(); }

  std::vector<GroupReading> Candidates(int32_t group, uint64_t offset) {
    if (IsPresent(group)) {
      const GroupReading& held = m_layout.present[static_cast<size_t>(group)];
      if (held.kind != CTavGroup::kSpring || m_presentSpringsFixed) return {held};
      return SpringReadings(offset);
    }
    std::vector<GroupReading> readings{{CTavGroup::kBeam, 0}, {CTavGroup::kLink, 0}};
    const std::vector<GroupReading> springs = SpringReadings(offset);
    readings.insert(readings.end(), springs.begin(), springs.end());
    return readings;
  }

  // A spring group with every entry count up to the longest run of entries
  // that look like its springs (numbered in order, a constant of the group,
  // a joint of the model).
  std::vector<GroupReading> SpringReadings(uint64_t offset) {
    if (Long(offset) != 0) return {{CTavGroup::kSpring, 0}};  // a later record counts its entries
    m_file.Seek(offset);
    CArchive ar(&m_file, CArchive::load);
    CTavGroupSpring head;
    try {
      head.Serialize(ar);
    } catch (const ArchiveError&) {
      return {};
    }
    const uint64_t entries = offset + ar.GetOffset();
    int32_t run = 0;
    while (entries + kSpringEntryBytes * (static_cast<uint64_t>(run) + 1) <= m_layout.bytes.size()) {
      const uint64_t at = entries + kSpringEntryBytes * static_cast<uint64_t>(run);
      const int32_t constant = Long(at + 4);
      const int32_t joint = Long(at + 8);
      if (Long(at) != run || constant < 0 || constant >= head.GetCountSpingConstant() || joint < 0 ||
          joint >= m_layout.joints) {
        break;
      }
      ++run;
    }
    std::vector<GroupReading> readings;
    for (int32_t count = run; count >= 0; --count) readings.push_back({CTavGroup::kSpring, count});
    return readings;
  }

  // Where the record read as `reading` ends, or nothing when it does not
  // read (or, for a group the document does not hold, does not look like
  // a group of that kind).
  std::optional<uint64_t> TryGroup(int32_t group, const GroupReading& reading, uint64_t offset) {
    if (++m_trials > kTrialBudget) {
      throw ArchiveError("the element groups of this old-layout archive can be read in too many ways to settle");
    }
    const bool strict = !IsPresent(group);
    m_file.Seek(offset);
    CArchive ar(&m_file, CArchive::load);
    try {
      if (!ReadsAs(ar, reading, strict)) return std::nullopt;
    } catch (const ArchiveError&) {
      return std::nullopt;
    }
    return offset + ar.GetOffset();
  }

  bool ReadsAs(CArchive& ar, const GroupReading& reading, bool strict) const {
    switch (reading.kind) {
      case CTavGroup::kBeam: {
        CTavGroupElement group;
        group.Serialize(ar);
        return !strict || (NumberedByPosition(group.m_arrSection) && AllWithin(group.m_arrBeam, INT32_MAX));
      }
      case CTavGroup::kLink: {
        CTavGroupNllink group;
        group.Serialize(ar);
        return !strict ||
               (NumberedByPosition(group.m_arrNllinkConstant) && AllWithin(group.m_arrNllink, m_layout.links));
      }
      case CTavGroup::kSpring: {
        CTavGroupSpring group;
        group.m_arrSpring.resize(static_cast<size_t>(reading.springs));
        group.Serialize(ar);
        return !strict || NumberedByPosition(group.m_arrSpringConstant);
      }
      default:
        return false;
    }
  }

  bool RestReads(uint64_t offset) {
    m_file.Seek(offset);
    CArchive ar(&m_file, CArchive::load);
    try {
      m_layout.readRest(ar);
    } catch (const ArchiveError&) {
      return false;
    }
    return !m_endRequired || ar.GetBytesLeft() == 0;
  }

  // The little-endian LONG at `at`, or -1 past the end.
  int32_t Long(uint64_t at) const {
    const std::vector<uint8_t>& bytes = m_layout.bytes;
    if (at + 4 > bytes.size()) return -1;
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | bytes[static_cast<size_t>(at) + static_cast<size_t>(i)];
    return static_cast<int32_t>(value);
  }

  const OldLayoutGroups& m_layout;
  CMemFile m_file;
  bool m_presentSpringsFixed;
  bool m_endRequired;
  int64_t m_trials = 0;
};

}  // namespace

std::vector<GroupReading> SettleOldLayoutGroups(const OldLayoutGroups& layout, uint64_t offset) {
  const std::string where = " (the element groups start at offset " + std::to_string(offset) + ")";
  std::vector<GroupReading> readings;
  int32_t failed = 0;
  int ways = GroupSearch(layout, true, false).Run(readings, failed);
  if (ways > 1 && layout.recordEndsArchive) ways = GroupSearch(layout, true, true).Run(readings, failed);
  if (ways == 1) return readings;
  if (ways > 1) {
    throw ArchiveError(
        "the old archive layout does not say which kind each element group is, and these groups can be read in more "
        "than one way (an empty beam group and an empty link group are stored alike)" +
        where + "; open the archive into a document that already holds its element groups");
  }
  // Tell a spring count that differs from the document's from plain damage.
  std::vector<GroupReading> loose;
  int32_t ignored = 0;
  if (GroupSearch(layout, false, false).Run(loose, ignored) == 1) {
    for (size_t g = 0; g < layout.present.size(); ++g) {
      if (layout.present[g].kind != CTavGroup::kSpring || loose[g].springs == layout.present[g].springs) continue;
      throw ArchiveError("element group " + std::to_string(g + 1) + " holds " + std::to_string(loose[g].springs) +
                         " springs in the archive but " + std::to_string(layout.present[g].springs) +
                         " in the document; the old archive layout does not count them, so they cannot be read into "
                         "this group" +
                         where);
    }
  }
  if (failed < layout.groupCount) {
    const std::string kind = static_cast<size_t>(failed) < layout.present.size()
                                 ? std::string("as the ") + KindName(layout.present[static_cast<size_t>(failed)].kind) +
                                       " group the document holds"
                                 : "as a beam, support spring or link group";
    throw ArchiveError("element group " + std::to_string(failed + 1) + " cannot be read " + kind + where);
  }
  throw ArchiveError("no reading of the element groups leaves the rest of the document readable" + where);
}

}  // namespace tav
