// The load conditions of the own solver input: static, history, response
// spectrum and moving cases, each kind in its list order.
#include "tav/document/TavData.h"

namespace tav {

int CTavData::WriteLoadStatic_Tav(CArchive& ar) {
  for (const auto& loadCase : m_arrLoadStatic) {
    Write_Tav(ar, "%s", loadCase->GetStringTitle().c_str());
    if (loadCase->GetSizeLoadJoint() > 0) {
      Write_Tav(ar, "     JOINT LOADS");
      for (const auto& load : loadCase->m_arrLoadJoint) {
        Write_Tav(ar, "     %d %s FUNCTION=%d", load->m_nJoint + 1, load->GetStringComponent(m_eRealPrecision).c_str(),
                  load->m_nFunction + 1);
      }
    }
    WriteBeamLoads_Tav(ar, *loadCase);
    WriteDisplacementLoads_Tav(ar, *loadCase, "     PRESCRIBED DISPPACEMENT LOADS");
    if (const CTavSelfWeight* weight = loadCase->GetSelfWeight()) {
      Write_Tav(ar, "     %s=%s ACCELERATION=%s FUNCTION=%d", weight->GetStringDir().c_str(),
                RealText(weight->m_dFactor).c_str(), RealText(weight->m_dAcceleration).c_str(),
                weight->m_nFunction + 1);
    }
  }
  return 1;
}

int CTavData::WriteLoadHistory_Tav(CArchive& ar) {
  for (const auto& loadCase : m_arrLoadHistory) {
    Write_Tav(ar,
              "HISTORY LOAD CONDITION %d TYPE=%s BY %s INTEGRATION METHOD=%s INTEGRATION PARAMETERS=%s "
              "NUMBER OF MODES=%d NSTE=%s DT=%s GROUND ACCELERATION",
              loadCase->m_nHistoryIndex + 1, loadCase->GetStringLoadHistoryType().c_str(),
              loadCase->GetStringLoadHistoryMode().c_str(), loadCase->GetStringLoadHistoryMethod().c_str(),
              loadCase->GetStringLoadHistoryParameters(m_eRealPrecision).c_str(), loadCase->m_nModes,
              RealText(loadCase->m_dNste).c_str(), RealText(loadCase->m_dDt).c_str());
    if (loadCase->GetSizeLoadJoint() > 0) {
      // A history case always states all six components.
      Write_Tav(ar, "     JOINT LOADS");
      for (const auto& load : loadCase->m_arrLoadJoint) {
        const double* v = load->m_dValue;
        Write_Tav(ar, "     %d PX=%s PY=%s PZ=%s MX=%s MY=%s MZ=%s FUNCTION=%d", load->m_nJoint + 1,
                  RealText(v[0]).c_str(), RealText(v[1]).c_str(), RealText(v[2]).c_str(), RealText(v[3]).c_str(),
                  RealText(v[4]).c_str(), RealText(v[5]).c_str(), load->m_nFunction + 1);
      }
    }
    WriteBeamLoads_Tav(ar, *loadCase);
    WriteDisplacementLoads_Tav(ar, *loadCase, "     PRESCRIBED DISPLACEMENT LOADS");
    if (const CTavSelfWeight* weight = loadCase->GetSelfWeight()) WriteExcitation_Tav(ar, *weight);
  }
  return 1;
}

int CTavData::WriteLoadResponseSpectrum_Tav(CArchive& ar) {
  for (const auto& loadCase : m_arrLoadResponseSpectrum) {
    Write_Tav(ar, "RESPONSE SPECTRUM LOAD CONDITION %d NUMBER OF MODES=%d MODE COMBINATION=%s", loadCase->m_nIndex + 1,
              loadCase->m_nModes, loadCase->GetStringLoadResponseCombination().c_str());
    if (loadCase->GetSizeDamping() > 0) {
      Write_Tav(ar, "     MODAL DAMPING=%s", loadCase->GetStringLoadResponseDamping(m_eRealPrecision).c_str());
    }
    if (const CTavSelfWeight* weight = loadCase->GetSelfWeight()) WriteExcitation_Tav(ar, *weight);
  }
  return 1;
}

int CTavData::WriteMovingLoad_Tav(CArchive& ar) {
  for (const auto& loadCase : m_arrLoadMoving) {
    Write_Tav(ar, "MOVING LOAD CONDITION %d LANE ELEMENTS %d", loadCase->m_nIndex + 1, loadCase->GetCountLane());
    if (loadCase->GetCountLane() == 0) continue;
    Write_Tav(ar, "     LANE SEQUENCE");
    for (const auto& lane : loadCase->m_arrLane) {
      Write_Tav(ar, "     ELE=%d ECC=%s ELE=%d ECC=%s", lane->m_nElement1 + 1, RealText(lane->m_dEcc1).c_str(),
                lane->m_nElement2 + 1, RealText(lane->m_dEcc2).c_str());
    }
  }
  return 1;
}

// Beams are named by their two joints; the load text needs the beam's
// length, taken afresh from the joints for every statement.
void CTavData::WriteBeamLoads_Tav(CArchive& ar, const CTavLoadStatic& loadCase) {
  if (loadCase.GetSizeLoadBeam() == 0) return;
  Write_Tav(ar, "     BEAM LOADS");
  for (const auto& load : loadCase.m_arrLoadBeam) {
    const CTavBeam& beam = *GetBeam(load->m_nBeam);
    // The type is any number a host stored; it is counted from 1 in 64 bits.
    Write_Tav(ar, "     %d TYPE=%lld %s NOAN=%d %d %s FUNCTION=%d", load->m_nIndex + 1,
              static_cast<long long>(load->m_eType) + 1,
              load->GetStringLoad_Tav(GetLengthBeam(load->m_nBeam), m_eRealPrecision).c_str(), beam.m_nJointI + 1,
              beam.m_nJointJ + 1, RealText(beam.m_dAngle).c_str(), load->m_nFunction + 1);
  }
}

void CTavData::WriteDisplacementLoads_Tav(CArchive& ar, const CTavLoadStatic& loadCase, const char* heading) {
  if (loadCase.GetSizeLoadDisplacement() == 0) return;
  Write_Tav(ar, "%s", heading);
  for (const auto& load : loadCase.m_arrLoadDisplacement) {
    Write_Tav(ar, "     %d %s FUNCTION=%d", load->m_nJoint + 1, load->GetStringComponent(m_eRealPrecision).c_str(),
              load->m_nFunction + 1);
  }
}

void CTavData::WriteExcitation_Tav(CArchive& ar, const CTavSelfWeight& weight) {
  Write_Tav(ar, "     FUNCTION=%d %s=%s ACC=%s", weight.m_nFunction + 1, weight.GetStringDir().c_str(),
            RealText(weight.m_dFactor).c_str(), RealText(weight.m_dAcceleration).c_str());
}

}  // namespace tav
