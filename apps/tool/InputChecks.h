// What the own solver input would lose of a model: the places where six
// significant digits change it beyond one part in a million, and the beam
// loads whose beam the input cannot name unambiguously. Each finding carries
// the JSON pointer of the place in the model file.
#pragma once

#include <string>
#include <vector>

#include "tav/document/TavData.h"

namespace tav::tool {

struct Finding {
  std::string path;  // JSON pointer into the model file
  std::string message;
};

// Six significant digits change a value materially when they move it by more
// than this part of the length or value it is measured against.
inline constexpr double kMaterialChange = 1e-6;

// Where writing the own solver input in six significant digits moves a
// joint by more than kMaterialChange of the shortest beam, or changes a
// beam's length, a section value or a beam load's extent by more than
// kMaterialChange of itself (of the beam's length for a load). Rectangle
// sections get their properties computed first, as writing would.
std::vector<Finding> SixDigitFindings(CTavData& doc);

// The beam loads whose beam shares both joints, in the same order, and the
// roll angle as written in `precision` with another beam: the own solver
// input names a loaded beam by exactly these, so the analysis could not tell
// which beam is meant.
std::vector<Finding> AmbiguousBeamLoads(const CTavData& doc, TaV_REAL_PRECISION precision);

}  // namespace tav::tool
