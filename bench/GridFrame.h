// The regular 3D frame the benchmarks analyse, write and run: nx x ny x nz
// joints on a grid (from `origin` on), fixed at the base, one section, beams
// along every grid line, the constant function 1. Loads are each
// benchmark's own.
#pragma once

#include "tav/Tav.h"

namespace tav::bench {

struct GridSpacing {
  double x = 3.0, y = 3.0, z = 3.5;
};

inline void AddGridFrame(CTavData& doc, int nx, int ny, int nz, GridSpacing spacing = {}, double origin = 0.0) {
  doc.SetTitle("BENCHMARK FRAME");
  doc.GetFunction()->AddFunctionDefault();
  const auto id = [&](int i, int j, int k) { return (k * ny + j) * nx + i; };
  for (int k = 0; k < nz; ++k) {
    for (int j = 0; j < ny; ++j) {
      for (int i = 0; i < nx; ++i) {
        const bool base = k == 0;
        doc.AddJoint(origin + spacing.x * i, origin + spacing.y * j, spacing.z * k, base, base, base, base, base, base,
                     -1);
      }
    }
  }
  CTavGroupElement* group = doc.AddGroupElement();
  group->AddSection(3.0e7, 0.2, 5.0e-3, 3.0e-3, 0.25, 24.0, 0.0, 4.0e-3, 0.2, 0.2);
  for (int k = 0; k < nz; ++k) {
    for (int j = 0; j < ny; ++j) {
      for (int i = 0; i < nx; ++i) {
        if (i + 1 < nx) doc.AddBeam(group, 0, id(i, j, k), id(i + 1, j, k), 0, 0, 0, 0, 0, 0, 0);
        if (j + 1 < ny) doc.AddBeam(group, 0, id(i, j, k), id(i, j + 1, k), 0, 0, 0, 0, 0, 0, 0);
        if (k + 1 < nz) doc.AddBeam(group, 0, id(i, j, k), id(i, j, k + 1), 0, 0, 0, 0, 0, 0, 0);
      }
    }
  }
}

// Every joint above the base pushed sideways (case SWAY) and loaded
// downwards (case GRAVITY).
inline void AddSwayAndGravity(CTavData& doc, int baseJoints) {
  CTavLoadStatic* sway = doc.AddLoadStatic("SWAY", 0);
  CTavLoadStatic* gravity = doc.AddLoadStatic("GRAVITY", 0);
  for (int joint = baseJoints; joint < doc.GetCountJoint(); ++joint) {
    sway->AddLoadStatic_Joint(joint, 5.0, 2.0, 0, 0, 0, 0, 0);
    gravity->AddLoadStatic_Joint(joint, 0, 0, -40.0, 0, 0, 0, 0);
  }
}

}  // namespace tav::bench
