// The natural modes of a model as the analysis found them: plain values,
// filled by CTavImportTavModes and held by the document (CTavData) beside
// its load case results.
#pragma once

#include <array>
#include <vector>

namespace tav {

// Six values per joint or direction: UX, UY, UZ, RX, RY, RZ in global axes.
using TavSix = std::array<double, 6>;

struct TavMode {
  double eigenvalue = 0.0;  // omega squared
  double circular = 0.0;    // omega, rad/s
  double frequency = 0.0;   // Hz
  double period = 0.0;      // s; 0 for a rigid-body mode (omega 0)
  // phi' M iota: the mode's share of the ground moving along (UX, UY, UZ)
  // or turning about (RX, RY, RZ) a global axis through the origin.
  TavSix participation = {};
  TavSix massRatio = {};      // participation squared over the direction's mass
  std::vector<TavSix> shape;  // per joint, mass-normalised

  bool operator==(const TavMode&) const = default;
};

struct TavModalResults {
  TavSix totalMass = {};       // the mass that moves with the ground, per direction
  std::vector<TavMode> modes;  // lowest first

  bool operator==(const TavModalResults&) const = default;
};

}  // namespace tav
