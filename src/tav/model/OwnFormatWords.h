// The words of the own solver input, spelled once: the writers print them,
// the analysis program reads them and the JSON model names its choices with
// the degree-of-freedom and check words. Each list is in the order of the
// values it names (bit 0 first for the six-flag sets, enumeration value 0
// first for the choices), so a value is its word's position.
#pragma once

#include <array>
#include <cstddef>

namespace tav::words {

template <std::size_t N>
using Words = std::array<const char*, N>;

// Degrees of freedom of a joint: restraints, MASTER DOF.
inline constexpr Words<6> kJointDof = {"UX", "UY", "UZ", "RX", "RY", "RZ"};
// Degrees of freedom of a beam end in its local axes: releases (the Sap
// input's words, which the model file uses as well).
inline constexpr Words<6> kBeamDof = {"U1", "U2", "U3", "R1", "R2", "R3"};
// The six values of a joint load, a prescribed displacement, a joint mass
// and a joint damper.
inline constexpr Words<6> kJointLoad = {"PX", "PY", "PZ", "MX", "MY", "MZ"};
inline constexpr Words<6> kDisplacement = {"DX", "DY", "DZ", "RX", "RY", "RZ"};
inline constexpr Words<6> kMass = {"XMX", "XMY", "XMZ", "RMX", "RMY", "RMZ"};
inline constexpr Words<6> kDamper = {"XDX", "XDY", "XDZ", "RDX", "RDY", "RDZ"};
// The check prints asked of the solver.
inline constexpr Words<6> kChecks = {"STIFFNESS-MATRIX", "DECOMPOSED-STIFFNESS-MATRIX", "LOAD-VECTOR",
                                     "V-VECTOR",         "DISPLACEMENT-VECTOR",         "MEMORY-SIZE"};
// TaV_DIR as a self weight's direction.
inline constexpr Words<3> kSelfWeightDirection = {"FX", "FY", "FZ"};
// TaV_FUNCTION_TYPE.
inline constexpr Words<2> kFunctionType = {"CONSTANT", "SINUSOIDAL"};
// A history case's kind, TaV_DYNAMIC_ANALYSYS_MODE and TaV_INTEGRATION_METHOD.
inline constexpr Words<2> kHistoryType = {"NST", "DYNAMIC ANALYSYS"};
inline constexpr Words<3> kDynamicMode = {"DIRECT INTRGRATION", "MODE SUPERPOSITION", "RESPONSE SPECTRUM"};
inline constexpr Words<3> kIntegrationMethod = {"WILSON THETA", "NEWMARK BETA", "CENTRAL DIFFERENCE"};
// TaV_MODE_COMBINATION.
inline constexpr Words<3> kModeCombination = {"ABS", "SRSS", "CQC"};
// The end releases of a beam statement.
inline constexpr const char* kReleaseI = "MTI";
inline constexpr const char* kReleaseJ = "MTJ";

// The word of `value` in `list`, or "" when the value is outside it.
template <std::size_t N>
constexpr const char* WordOf(const Words<N>& list, long long value) {
  return value >= 0 && value < static_cast<long long>(N) ? list[static_cast<std::size_t>(value)] : "";
}

}  // namespace tav::words
