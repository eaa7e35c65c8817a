// The loads a static or history case holds: joint loads, prescribed
// displacements, beam loads, and the self-weight record (which a response
// spectrum case also uses for its ground excitation). Each is owned by its
// load case.
#pragma once

#include "tav/model/TavObject.h"
#include "tav/model/TavTypes.h"
#include "tav/platform/String.h"

namespace tav {

// Six values at a joint with a function: the common shape of joint loads and
// prescribed displacements. Record: version, joint, six values, function (60
// bytes).
class CTavJointLoadValues : public CTavObject {
 public:
  void Init() override {}
  void Destroy() override {}
  void Serialize(CArchive& ar) override;

  int32_t m_nJoint = 0;
  double m_dValue[6] = {};
  int32_t m_nFunction = 0;
};

// Forces PX, PY, PZ and moments MX, MY, MZ at a joint.
class CTavLoadJoint : public CTavJointLoadValues {
 public:
  // "PX=... PY=..." for the values that are not 0.
  CString GetStringComponent(TaV_REAL_PRECISION precision = TaV_PRECISION_SIX_DIGITS) const;
  // The same onto the end of `out`.
  void AppendStringComponent(CString& out, TaV_REAL_PRECISION precision) const;
};

// Translations DX, DY, DZ and rotations RX, RY, RZ imposed at a joint.
class CTavLoadDisplacement : public CTavJointLoadValues {
 public:
  CTavLoadDisplacement() { CTavLoadDisplacement::Init(); }
  // The six values 0.
  void Init() override;
  // "DX=... RZ=..." for the values that are not 0.
  CString GetStringComponent(TaV_REAL_PRECISION precision = TaV_PRECISION_SIX_DIGITS) const;
  // The same onto the end of `out`.
  void AppendStringComponent(CString& out, TaV_REAL_PRECISION precision) const;
};

// A point force, point moment or linearly varying distributed force on a
// beam, given per global direction.
class CTavLoadBeam : public CTavObject {
 public:
  CTavLoadBeam() { CTavLoadBeam::Init(); }
  ~CTavLoadBeam() override { CTavLoadBeam::Destroy(); }

  // Type 0, no direction in use, relative distances.
  void Init() override;
  void Destroy() override {}
  // 336 bytes: version, number, beam, type, per direction the two counts and
  // the interleaved values and distances, the distance flag, the function.
  void Serialize(CArchive& ar) override;

  // The load text of the own input for a beam of length `length`.
  CString GetStringLoad_Tav(double length, TaV_REAL_PRECISION precision = TaV_PRECISION_SIX_DIGITS) const;
  // The Sap span load: one piece per direction in use, each a line of its
  // own (pieces after the first are preceded by a line end and the same
  // six-blank indentation the writer gives the first).
  CString GetStringLoad_Sap() const;
  // The Midas *BEAMLOAD records, one line each (joined by line ends), with
  // distances as fractions of `length`.
  CString GetStringLoad_Midas(double length) const;

  int32_t m_nIndex = -1;
  int32_t m_nBeam = 0;
  TaV_BEMALOAD_TYPE m_eType = TaV_BEAMLOAD_FORCE;
  TaV_TYPED_LOAD m_Load[3];
  int32_t m_nFunction = 0;
  int32_t m_bAbsoluteDist = 0;
};

// Self weight (or ground excitation): direction, factor, acceleration and
// function.
class CTavSelfWeight : public CTavObject {
 public:
  void Init() override {}
  void Destroy() override {}
  // 28 bytes: version, direction, factor, acceleration, function.
  void Serialize(CArchive& ar) override;

  // "FX", "FY", "FZ", or empty text for another direction.
  CString GetStringDir() const;

  TaV_DIR m_eDir = TaV_DIR_X;
  double m_dFactor = 0.0;
  double m_dAcceleration = 0.0;
  int32_t m_nFunction = 0;
};

}  // namespace tav
