#include "tav/loads/TavLoadRecords.h"

#include "tav/model/Records.h"

#include "tav/model/OwnFormatWords.h"
#include "tav/model/TavText.h"
#include "tav/platform/Format.h"

namespace tav {

void CTavJointLoadValues::Serialize(CArchive& ar) {
  SerializeVersion(ar, 0, "joint load");
  Exchange(ar, m_nJoint);
  ExchangeEach(ar, m_dValue);
  Exchange(ar, m_nFunction);
}

CString CTavLoadJoint::GetStringComponent(TaV_REAL_PRECISION precision) const {
  return JoinNonZeroValues(m_dValue, words::kJointLoad, precision);
}

void CTavLoadJoint::AppendStringComponent(CString& out, TaV_REAL_PRECISION precision) const {
  AppendNonZeroValues(out, m_dValue, words::kJointLoad, precision);
}

void CTavLoadDisplacement::Init() {
  for (double& value : m_dValue) value = 0.0;
}

CString CTavLoadDisplacement::GetStringComponent(TaV_REAL_PRECISION precision) const {
  return JoinNonZeroValues(m_dValue, words::kDisplacement, precision);
}

void CTavLoadDisplacement::AppendStringComponent(CString& out, TaV_REAL_PRECISION precision) const {
  AppendNonZeroValues(out, m_dValue, words::kDisplacement, precision);
}

void CTavLoadBeam::Init() {
  m_eType = TaV_BEAMLOAD_FORCE;
  for (TaV_TYPED_LOAD& load : m_Load) load.nValue = load.nDist = 0;
  m_bAbsoluteDist = 0;
}

void CTavLoadBeam::Serialize(CArchive& ar) {
  SerializeVersion(ar, 0, "beam load");
  Exchange(ar, m_nIndex, m_nBeam, m_eType);
  for (TaV_TYPED_LOAD& load : m_Load) {
    Exchange(ar, load.nValue, load.nDist);
    for (int i = 0; i < 6; ++i) Exchange(ar, load.dValue[i], load.dDist[i]);
  }
  Exchange(ar, m_bAbsoluteDist, m_nFunction);
}

CString CTavLoadBeam::GetStringLoad_Tav(double length, TaV_REAL_PRECISION precision) const {
  static const char kAxis[3] = {'X', 'Y', 'Z'};
  const auto real = [precision](double value) { return GetRealText(value, precision); };
  // Distances are fractions of the beam length unless flagged absolute.
  const auto position = [this, length](double distance) { return m_bAbsoluteDist != 0 ? distance : distance * length; };
  CString text;
  for (int axis = 0; axis < 3; ++axis) {
    const TaV_TYPED_LOAD& load = m_Load[axis];
    if (load.nValue <= 0) continue;
    if (m_eType == TaV_BEAMLOAD_DISTRIBUTED) {
      // Intensities at both ends of the loaded stretch, where it starts and
      // how long it is; the solver takes loads with the opposite sign.
      const double start = position(load.dDist[0]);
      text += Format("W%c=%s %s %s %s ", kAxis[axis], real(-load.dValue[0]).c_str(), real(-load.dValue[1]).c_str(),
                     real(start).c_str(), real(position(load.dDist[1]) - start).c_str());
    } else if (m_eType == TaV_BEAMLOAD_FORCE) {
      // The negated force and its position along the beam, measured as for
      // the distributed pieces (the length is applied to the distance, never
      // to the force), then the fixed "0. 1. ".
      text +=
          Format("P%c=%s %s 0. 1. ", kAxis[axis], real(-load.dValue[0]).c_str(), real(position(load.dDist[0])).c_str());
    }
  }
  return text;
}

CString CTavLoadBeam::GetStringLoad_Sap() const {
  static const char kAxis[3] = {'X', 'Y', 'Z'};
  // The receiving program reads one span load per line, so a load acting in
  // several directions gives several lines at the writer's indentation.
  static const char* const kNextLine = "\r\n      ";
  const char* keyword = m_bAbsoluteDist == 0 ? "RD" : "D";
  CString text;
  for (int axis = 0; axis < 3; ++axis) {
    const TaV_TYPED_LOAD& load = m_Load[axis];
    if (load.nValue <= 0) continue;
    CString piece;
    switch (m_eType) {
      case TaV_BEAMLOAD_FORCE:
        piece = Format("ADD=%d %s=%g U%c=%g", m_nBeam + 1, keyword, load.dDist[0], kAxis[axis], load.dValue[0]);
        break;
      case TaV_BEAMLOAD_MOMENT:
        piece = Format("ADD=%d %s=%g R%c=%g", m_nBeam + 1, keyword, load.dDist[0], kAxis[axis], load.dValue[0]);
        break;
      case TaV_BEAMLOAD_DISTRIBUTED:
        piece = Format("ADD=%d %s=%g,%g U%c=%g, %g", m_nBeam + 1, keyword, load.dDist[0], load.dDist[1], kAxis[axis],
                       load.dValue[0], load.dValue[1]);
        break;
      default:
        continue;
    }
    if (!text.empty()) text += kNextLine;
    text += piece;
  }
  return text;
}

CString CTavLoadBeam::GetStringLoad_Midas(double length) const {
  static const char* const kKind[3] = {"CONLOAD", "CONMOMENT", "UNILOAD"};
  static const char* const kDirection[3] = {"GX", "GY", "GZ"};
  if (m_eType < TaV_BEAMLOAD_FORCE || m_eType > TaV_BEAMLOAD_DISTRIBUTED) return "";
  // Distances are always given to the receiving program as fractions.
  const auto fraction = [this, length](double distance) { return m_bAbsoluteDist != 0 ? distance / length : distance; };
  const int points = m_eType == TaV_BEAMLOAD_DISTRIBUTED ? 2 : 1;
  CString text;
  for (int axis = 0; axis < 3; ++axis) {
    const TaV_TYPED_LOAD& load = m_Load[axis];
    if (load.nValue < 1) continue;
    double d[4] = {};
    double p[4] = {};
    for (int i = 0; i < points; ++i) {
      d[i] = fraction(load.dDist[i]);
      p[i] = load.dValue[i];
    }
    if (!text.empty()) text += "\r\n";
    text += Format("%d, BEAM, %s, %s, NO, NO, aDir[1],  ,  ,  , %g, %g, %g, %g, %g, %g, %g, %g", m_nBeam + 1,
                   kKind[m_eType], kDirection[axis], d[0], p[0], d[1], p[1], d[2], p[2], d[3], p[3]);
  }
  return text;
}

void CTavSelfWeight::Serialize(CArchive& ar) {
  SerializeVersion(ar, 0, "self weight");
  Exchange(ar, m_eDir, m_dFactor, m_dAcceleration, m_nFunction);
}

CString CTavSelfWeight::GetStringDir() const { return words::WordOf(words::kSelfWeightDirection, m_eDir); }

}  // namespace tav
