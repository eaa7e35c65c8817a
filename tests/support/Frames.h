// Pieces of small frames for the analysis tests: sections, supports,
// cantilevers, and reals as the six-digit input text holds them.
#pragma once

#include <cstdlib>

#include "tav/document/TavData.h"
#include "tav/util/FormatC.h"

namespace tav::test {

// A general section; no shear deformation unless shear areas are given.
struct SectionValues {
  double e, poisson, is, it, area, j;
  double ashs = 0.0, asht = 0.0;
};

inline CTavSection* AddSection(CTavGroupElement& group, const SectionValues& v) {
  return group.AddSection(v.e, v.poisson, v.is, v.it, v.area, 0.0, 0.0, v.j, v.ashs, v.asht);
}

// A beam group whose first section is `values`.
inline CTavGroupElement* AddBeamGroup(CTavData& doc, const SectionValues& values) {
  CTavGroupElement* group = doc.AddGroupElement();
  AddSection(*group, values);
  return group;
}

// A joint held in every direction; returns its number.
inline int32_t AddFixedJoint(CTavData& doc, double x, double y, double z) {
  return doc.AddJoint(x, y, z, true, true, true, true, true, true, -1);
}

// A beam of `section`, rolled by `roll` degrees, from a joint held in every
// direction at `root` to a free joint at `tip`; returns the tip.
inline int32_t AddCantilever(CTavData& doc, CTavGroupElement* group, const CVector& root, const CVector& tip,
                             int section = 0, double roll = 0.0) {
  const int32_t fixed = AddFixedJoint(doc, root.x, root.y, root.z);
  const int32_t free = doc.AddJoint(tip, -1);
  doc.AddBeam(group, section, fixed, free, roll, 0, 0, 0, 0, 0, 0);
  return free;
}

// `n` beams of `group` end to end along X from the origin to `length`, over
// n + 1 new joints.
inline void AddLine(CTavData& doc, CTavGroupElement* group, int n, double length) {
  const int32_t first = doc.GetCountJoint();
  for (int i = 0; i <= n; ++i) doc.AddJoint(length * i / n, 0, 0, -1);
  for (int i = 0; i < n; ++i) doc.AddBeam(group, 0, first + i, first + i + 1, 0, 0, 0, 0, 0, 0, 0);
}

// A real as its six-digit ("%g") text reads back.
inline double SixDigits(double value) { return std::strtod(FormatC("%g", value).c_str(), nullptr); }

}  // namespace tav::test
