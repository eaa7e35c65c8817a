// The result cases of an analysed document as `tav run` shows and writes
// them: the load cases in result order (a moving case as its largest and
// its smallest values, when the document holds its envelopes), then each
// combination's maximum and minimum; and their values, read from the
// document's result store or from an envelope. Everything here borrows the
// document, which must outlive the cases made of it.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tav/document/TavData.h"

namespace tav::tool {

using Vec3 = std::array<double, 3>;

// The load cases the analysis could not solve, by their place in the result
// store (0-based), each with what the analysis said; their results, and
// those of every combination that takes them in, are not shown.
using FailedCases = std::map<int32_t, std::string>;

struct ResultCase {
  int32_t store = 0;  // the case's block in the result store
  std::string name;
  std::string kind;
  std::optional<Vec3> applied;  // the applied force, when the case is one load set
  // The heading in the summary; empty for an added combination's minimum,
  // which is the same sum as its maximum, shown once under the bare name.
  std::string heading;
  std::string note;     // said under the heading
  std::string failure;  // why it has no results; empty when it has them
  // Its values do not act together (peaks over time, envelopes over the
  // positions of a moving load, a spectrum's magnitudes): its reactions do
  // not add up, and a combination taking it in has two different ends.
  bool apart = false;
  // "peak" for a history case, "max" or "min" for a moving case's
  // envelope; empty for the others.
  std::string values;
  const TavResponseValues* envelope = nullptr;  // where its values are, instead of the result store
};

std::vector<ResultCase> ResultCases(const CTavData& doc, const FailedCases& failed = {});

// Reaction FX ... MZ, then displacement UX ... RZ of `joint`, in global axes.
std::array<double, 12> JointValues(const CTavData& doc, const ResultCase& c, int32_t joint);
// The stations of `beam` that hold results, and the distance (a fraction
// of the beam's length) and N, V2, V3, T, M2, M3 of station `station`.
int32_t StationsOf(const CTavData& doc, const ResultCase& c, int32_t beam);
std::array<double, 7> StationValues(const CTavData& doc, const ResultCase& c, int32_t beam, int32_t station);

// The joints (0-based, ascending) that have reactions: restrained ones and
// those on support springs.
std::vector<int32_t> SupportedJoints(const CTavData& doc);

}  // namespace tav::tool
