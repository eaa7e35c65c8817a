#include "tav/results/TavImportTavOutput.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "tav/platform/MessageBox.h"

namespace tav {
namespace {

constexpr const char* kBadFile = "현재 OUT 파일이 비정상적이거나 현재의 모델링과 일치하지 않습니다 !";
constexpr const char* kNoMemory = "결과를 담을 메모리가 부족합니다 !";
constexpr int32_t kTagBytes = 3;           // the two tags of a displacement record
constexpr int32_t kReactionTagBytes = 11;  // the two tags of a reaction record
constexpr int32_t kBeamEndValues = 12;

// A file whose numbers do not fit the model.
class MismatchError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads a 1-based object number and checks it against the model's `count`.
int32_t ReadNumber(CArchive& ar, int32_t count, const char* what) {
  int32_t number = 0;
  ar >> number;
  if (number < 1 || number > count) {
    throw MismatchError(std::string(what) + " " + std::to_string(number) + " at offset " +
                        std::to_string(ar.GetOffset() - 4) + " is not in the model");
  }
  return number - 1;
}

void Skip(CArchive& ar, size_t bytes) {
  char scratch[128];
  while (bytes > 0) {
    const size_t n = std::min(bytes, sizeof scratch);
    ar.Read(scratch, n);
    bytes -= n;
  }
}

// The rule of a combination type for one value: the maximum and minimum so
// far against the next term's value.
void Fold(TaV_COMBO_TYPE type, double& maximum, double& minimum, double value) {
  switch (type) {
    case TaV_COMBO_ADD:
      maximum += value;
      minimum += value;
      break;
    case TaV_COMBO_ENVE:
      maximum = std::max(maximum, value);
      minimum = std::min(minimum, value);
      break;
    case TaV_COMBO_ABS:
      maximum = std::max(std::fabs(maximum), std::fabs(value));
      minimum = std::min(std::fabs(minimum), std::fabs(value));
      break;
  }
}

// A response spectrum result is a magnitude R that may act either way: an
// ADD takes +R into the maximum and -R into the minimum, an envelope takes
// both +R and -R, ABS takes R.
void FoldMagnitude(TaV_COMBO_TYPE type, double& maximum, double& minimum, double value) {
  const double magnitude = std::fabs(value);
  if (type == TaV_COMBO_ADD) {
    maximum += magnitude;
    minimum -= magnitude;
    return;
  }
  Fold(type, maximum, minimum, magnitude);
  if (type == TaV_COMBO_ENVE) Fold(type, maximum, minimum, -magnitude);
}

// An envelope that starts from its first term: the values before it take
// no part.
void Restart(TaV_COMBO_TYPE type, double& maximum, double& minimum) {
  if (type != TaV_COMBO_ENVE && type != TaV_COMBO_ABS) return;
  maximum = type == TaV_COMBO_ABS ? 0.0 : -HUGE_VAL;
  minimum = HUGE_VAL;
}

}  // namespace

int CTavImportTavOutput::LoadData(const CString& path) {
  if (!m_pData->AllocResultForceBuff()) {
    TavMessageBox(kNoMemory, MB_OK | MB_ICONSTOP);
    return 0;
  }
  CFile file;
  if (!file.Open(path, CFile::modeRead)) return 0;
  try {
    CArchive ar(&file, CArchive::load);
    const int32_t loadCases = m_pData->GetCountLoadCase(0);
    for (int32_t block = 0; block < loadCases; ++block) {
      const int32_t resultCase = ReadNumber(ar, loadCases, "load case");
      ReadDisplacement(ar, resultCase);
      ReadMemberForce(ar, resultCase);
      ReadReaction(ar, resultCase);
    }
    ar.Close();
  } catch (const std::runtime_error&) {  // ArchiveError, FileError, MismatchError
    TavMessageBox(kBadFile, MB_OK | MB_ICONSTOP);
    return 0;
  }
  file.Close();
  ComposeComboData();
  return 1;
}

int CTavImportTavOutput::ReadDisplacement(CArchive& ar, int32_t resultCase) {
  for (int32_t i = 0; i < m_pData->GetCountJoint(); ++i) {
    const int32_t joint = ReadNumber(ar, m_pData->GetCountJoint(), "joint");
    double values[6];
    for (double& value : values) ar >> value;
    Skip(ar, 2 * kTagBytes);
    m_pData->SetResult_Joint(joint, resultCase, values, TaV_JOINT_DISPLACEMENT, 6);
  }
  return 1;
}

int CTavImportTavOutput::ReadMemberForce(CArchive& ar, int32_t resultCase) {
  Skip(ar, 4);
  const int32_t stations = m_pData->GetCountResultStation();
  for (int32_t i = 0; i < m_pData->GetCountBeam(); ++i) {
    const int32_t beam = ReadNumber(ar, m_pData->GetCountBeam(), "beam");
    Skip(ar, kBeamEndValues * sizeof(double));
    int32_t count = 0;
    ar >> count;
    if (count < 0 || count > stations) {
      throw MismatchError("beam " + std::to_string(beam + 1) + " has " + std::to_string(count) +
                          " stations; the model keeps " + std::to_string(stations));
    }
    const double length = m_pData->GetLengthBeam(beam);
    for (int32_t station = 0; station < count; ++station) {
      double record[7];
      for (double& value : record) ar >> value;
      record[0] /= length;  // the position along the beam, 0 to 1
      m_pData->SetResult_Beam(beam, resultCase, station, record, 7);
    }
  }
  return 1;
}

int CTavImportTavOutput::ReadReaction(CArchive& ar, int32_t resultCase) {
  const TaV_RESTRAINTS active = m_pData->GetGlobalOption()->GetDof();
  for (int32_t i = 0; i < m_pData->GetCountJoint(); ++i) {
    const int32_t joint = ReadNumber(ar, m_pData->GetCountJoint(), "joint");
    Skip(ar, 2 * kReactionTagBytes);
    double values[6] = {};
    for (int dof = 0; dof < 6; ++dof) {
      if (active.Get(dof)) ar >> values[dof];
    }
    m_pData->SetResult_Joint(joint, resultCase, values, TaV_JOINT_REACTION, 6);
  }
  return 1;
}

// History, spectrum and moving terms read their own case in the load-case
// sequence; static and combination terms as the file was always composed.
int32_t CTavImportTavOutput::SourceCase(const TaV_COMBO_DATA& term) const {
  const int32_t statics = m_pData->GetCountStaticLoad();
  const int32_t histories = m_pData->GetCountHistoryLoad();
  const int32_t spectra = m_pData->GetCountResponseSpectrumLoad();
  const int32_t moving = m_pData->GetCountMovingLoad();
  const auto within = [&term](int32_t first, int32_t count) {
    return term.nCase >= 0 && term.nCase < count ? first + term.nCase : -1;
  };
  switch (term.eType) {
    case TaV_LOAD_STATIC:
      return within(0, statics);
    case TaV_LOAD_HISTORY:
      return within(statics, histories);
    case TaV_LOAD_RESPONSE_SPECTRUM:
      return within(statics + histories, spectra);
    case TaV_LOAD_MOVING:
      return within(statics + histories + spectra, moving);
    case TaV_LOAD_COMBO: {
      const int32_t combination = within(0, m_pData->GetCountComboLoad());
      return combination < 0 ? -1 : m_pData->GetCountLoadCase(0) + 2 * combination;  // its maximum
    }
  }
  return -1;
}

void CTavImportTavOutput::ComposeComboData() {
  const int32_t loadCases = m_pData->GetCountLoadCase(0);
  const bool fromFirstTerm = m_pData->GetEnvelopeStart() == TaV_ENVELOPE_FROM_FIRST_TERM;
  for (int32_t j = 0; j < m_pData->GetCountComboLoad(); ++j) {
    const CTavCombo& combo = *m_pData->GetCombo(j);
    bool first = fromFirstTerm;
    for (const TaV_COMBO_DATA& term : combo.m_arrLoad) {
      const int32_t source = SourceCase(term);
      if (source < 0) continue;
      // A term is weighted by its first scale factor.
      const Term folded{source, combo.m_eType, term.dFactor, term.eType == TaV_LOAD_RESPONSE_SPECTRUM, first};
      GetMaxMinDataFromCombo(loadCases + 2 * j, folded);
      first = false;
    }
  }
}

void CTavImportTavOutput::GetMaxMinDataFromCombo(int32_t target, const Term& term) {
  const auto fold = [&term](double* maximum, double* minimum, const double* value, int count) {
    for (int i = 0; i < count; ++i) {
      if (term.first) Restart(term.type, maximum[i], minimum[i]);
      const double scaled = term.factor * value[i];
      if (term.magnitude) {
        FoldMagnitude(term.type, maximum[i], minimum[i], scaled);
      } else {
        Fold(term.type, maximum[i], minimum[i], scaled);
      }
    }
  };
  const int32_t stations = m_pData->GetCountResultStation();
  for (int32_t beam = 0; beam < m_pData->GetCountBeam(); ++beam) {
    for (int32_t station = 0; station < stations; ++station) {
      double maximum[7];
      double minimum[7];
      double value[7];
      m_pData->GetResultValue_Beam(beam, target, station, maximum, 7);
      m_pData->GetResultValue_Beam(beam, target + 1, station, minimum, 7);
      m_pData->GetResultValue_Beam(beam, term.source, station, value, 7);
      maximum[0] = minimum[0] = value[0];
      fold(maximum + 1, minimum + 1, value + 1, 6);
      m_pData->SetResult_Beam(beam, target, station, maximum, 7);
      m_pData->SetResult_Beam(beam, target + 1, station, minimum, 7);
    }
  }
  for (int32_t joint = 0; joint < m_pData->GetCountJoint(); ++joint) {
    double maximum[18];
    double minimum[18];
    double value[18];
    m_pData->GetResultValue_Joint(joint, target, maximum, 18);
    m_pData->GetResultValue_Joint(joint, target + 1, minimum, 18);
    m_pData->GetResultValue_Joint(joint, term.source, value, 18);
    fold(maximum, minimum, value, 18);
    m_pData->SetResult_Joint(joint, target, maximum, TaV_JOINT_REACTION, 18);
    m_pData->SetResult_Joint(joint, target + 1, minimum, TaV_JOINT_REACTION, 18);
  }
}

}  // namespace tav
