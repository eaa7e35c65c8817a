// Enumerations and plain records shared by the whole model. Enumerations are
// 32-bit so that any stored value, in range or not, survives a round trip.
#pragma once

#include <cstdint>

#include "tav/model/Arrays.h"

namespace tav {

enum TaV_LOAD_TYPE : int32_t {
  TaV_LOAD_STATIC,
  TaV_LOAD_HISTORY,
  TaV_LOAD_RESPONSE_SPECTRUM,
  TaV_LOAD_MOVING,
  TaV_LOAD_COMBO,
};

enum TaV_COMBO_TYPE : int32_t { TaV_COMBO_ADD, TaV_COMBO_ENVE, TaV_COMBO_ABS };

enum TaV_FUNCTION_TYPE : int32_t { TaV_FUNCTION_CONSTANT, TaV_FUNCTION_SINUSOIDAL };

enum TaV_DYNAMIC_ANALYSYS_MODE : int32_t {
  TaV_MODE_DIRECT_INTEGRATION,
  TaV_MODE_SUPERPOSITION,
  TaV_MODE_RESPONSE_SPECTRUM,
};

enum TaV_INTEGRATION_METHOD : int32_t {
  TaV_METHOD_WILSON_THETA,
  TaV_METHOD_NEWMARK_BETA,
  TaV_METHOD_CENTRAL_DIFFERENCE,
};

enum TaV_MODE_COMBINATION : int32_t { TaV_MODECOMB_ABS, TaV_MODECOMB_SRSS, TaV_MODECOMB_CQC };

enum TaV_DIR : int32_t { TaV_DIR_X, TaV_DIR_Y, TaV_DIR_Z };

enum TaV_BEMALOAD_TYPE : int32_t { TaV_BEAMLOAD_FORCE, TaV_BEAMLOAD_MOMENT, TaV_BEAMLOAD_DISTRIBUTED };

enum TaV_SECTION_TYPE : int32_t { TaV_SECTION_GENERAL, TaV_SECTION_RECT };

enum TaV_BEAM_FORCE_TYPE : int32_t { TaV_FORCE_1, TaV_FORCE_2, TaV_FORCE_3, TaV_FORCE_4, TaV_FORCE_5, TaV_FORCE_6 };

enum TaV_JOINT_FORCE_TYPE : int32_t { TaV_JOINT_REACTION, TaV_JOINT_DISPLACEMENT, TaV_JOINT_SPRING };

enum TaV_TEXT_SEPERATE_TYPE : int32_t { TaV_SEPERATE_BLANK, TaV_SEPERATE_COMMA };

enum TaV_INPUT_FORMAT : int32_t { TaV_FORMAT_TAV, TaV_FORMAT_SAP, TaV_FORMAT_MIDAS };

// How the own solver input writes its real numbers: in six significant
// digits as "%g" gives them (the form every reader of the format knows), or
// each in the shortest text that reads back to the very same double.
enum TaV_REAL_PRECISION : int32_t { TaV_PRECISION_SIX_DIGITS, TaV_PRECISION_FULL };

// Where the envelope of an ENVE or ABS combination starts: from zero, so
// that zero always takes part (the composition hosts have long relied on),
// or from its first term, so that it holds the terms' extremes alone.
enum TaV_ENVELOPE_START : int32_t { TaV_ENVELOPE_FROM_ZERO, TaV_ENVELOPE_FROM_FIRST_TERM };

// Six one-bit flags in one byte, bit 0 to 5: X, Y, Z translation, X, Y, Z
// rotation. Bits 6 and 7 carry nothing and are never changed by a setter.
struct TaV_RESTRAINTS {
  uint8_t byFlags = 0;

  bool Get(int bit) const { return ((byFlags >> bit) & 1U) != 0; }
  void Set(int bit, bool on) {
    const auto mask = static_cast<uint8_t>(1U << bit);
    byFlags = on ? static_cast<uint8_t>(byFlags | mask) : static_cast<uint8_t>(byFlags & ~mask);
  }
  // Replaces bits 0 to 5 by the six flags, in that order.
  void SetSix(bool b0, bool b1, bool b2, bool b3, bool b4, bool b5) {
    const bool flags[6] = {b0, b1, b2, b3, b4, b5};
    for (int bit = 0; bit < 6; ++bit) Set(bit, flags[bit]);
  }
  // True when any of bits 0 to 5 is set.
  bool Any() const { return (byFlags & 0x3F) != 0; }
};

// One function of the function table: a type, two parameters and points.
struct TaV_FUNCTION {
  int32_t nIndex = -1;
  TaV_FUNCTION_TYPE eType = TaV_FUNCTION_CONSTANT;
  int32_t nPoints = 0;
  double dParam1 = 0.0;
  double dParam2 = 0.0;
  CDoubleArray arrX;
  CDoubleArray arrY;
};

// One term of a load combination: a case by kind and number, two factors.
struct TaV_COMBO_DATA {
  TaV_LOAD_TYPE eType = TaV_LOAD_STATIC;
  int32_t nCase = 0;
  double dFactor = 0.0;
  double dFactor2 = 0.0;
};

// One spring of a support spring group.
struct TaV_SPRING {
  int32_t nIndex = 0;
  int32_t nConstant = 0;
  int32_t nJoint = 0;
};

// The load of one beam load in one global direction.
struct TaV_TYPED_LOAD {
  int32_t nValue = 0;
  int32_t nDist = 0;
  double dValue[6] = {};
  double dDist[6] = {};
};

// A joint with six values: a lumped mass or a damper.
struct TaV_JOINT_VALUES {
  int32_t nJoint = 0;
  double dValue[6] = {};
};

// A diaphragm constraint: a master joint and its slaves.
struct TaV_DIAPHRAGM {
  int32_t nIndex = 0;
  int32_t nMaster = 0;
  CLongArray arrSlave;
};

// A rigid link: type 0 linear, any other value nonlinear.
struct TaV_RIGIDLINK {
  int32_t nIndex = 0;
  int32_t nType = 0;
  int32_t nMaster = 0;
  CLongArray arrSlave;
};

}  // namespace tav
