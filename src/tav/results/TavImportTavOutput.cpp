#include "tav/results/TavImportTavOutput.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <utility>

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

// The rule of a combination type for a term whose values range from `low`
// to `high`: the maximum and minimum so far against them. ADD takes the
// high end into the maximum and the low end into the minimum.
void FoldRange(TaV_COMBO_TYPE type, double& maximum, double& minimum, double high, double low) {
  switch (type) {
    case TaV_COMBO_ADD:
      maximum += high;
      minimum += low;
      break;
    case TaV_COMBO_ENVE:
      maximum = std::max(maximum, high);
      minimum = std::min(minimum, low);
      break;
    case TaV_COMBO_ABS:
      maximum = std::max({std::fabs(maximum), std::fabs(high), std::fabs(low)});
      minimum = std::min({std::fabs(minimum), std::fabs(high), std::fabs(low)});
      break;
  }
}

// A term of one value.
void Fold(TaV_COMBO_TYPE type, double& maximum, double& minimum, double value) {
  FoldRange(type, maximum, minimum, value, value);
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

// Envelopes that have a value for every joint and beam of the model.
bool FitsModel(const TavResponseValues& values, int32_t joints, int32_t beams) {
  const size_t jointValues = 6 * static_cast<size_t>(joints);
  return values.displacements.size() == jointValues && values.reactions.size() == jointValues &&
         values.BeamCount() == beams;
}

// The stations of a beam that both envelopes reach; none without envelopes.
int32_t EnvelopedStations(const TavCaseResponse* response, int32_t beam) {
  if (response == nullptr) return 0;
  return std::min(response->maximum.StationCount(beam), response->minimum.StationCount(beam));
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
      const Term folded{.source = source,
                        .type = combo.m_eType,
                        .factor = term.dFactor,
                        .magnitude = term.eType == TaV_LOAD_RESPONSE_SPECTRUM,
                        .first = first,
                        .response = ResponseOf(term)};
      GetMaxMinDataFromCombo(loadCases + 2 * j, folded);
      first = false;
    }
  }
}

// A model changed since the responses were read keeps them out: they no
// longer say which value is which.
const TavCaseResponse* CTavImportTavOutput::ResponseOf(const TaV_COMBO_DATA& term) const {
  if (term.eType != TaV_LOAD_HISTORY && term.eType != TaV_LOAD_MOVING) return nullptr;
  const TavCaseResponse* response = m_pData->GetResponseResults().Find(term.eType, term.nCase);
  if (response == nullptr || response->failed) return nullptr;
  const int32_t joints = m_pData->GetCountJoint();
  const int32_t beams = m_pData->GetCountBeam();
  if (!FitsModel(response->maximum, joints, beams) || !FitsModel(response->minimum, joints, beams)) return nullptr;
  return response;
}

void CTavImportTavOutput::FoldTerm(const Term& term, std::span<double> maximum, std::span<double> minimum,
                                   std::span<const double> high, std::span<const double> low) {
  for (size_t i = 0; i < maximum.size(); ++i) {
    if (term.first) Restart(term.type, maximum[i], minimum[i]);
    if (term.magnitude) {
      FoldMagnitude(term.type, maximum[i], minimum[i], term.factor * high[i]);
      continue;
    }
    double scaledHigh = term.factor * high[i];
    double scaledLow = term.factor * low[i];
    if (term.factor < 0.0) std::swap(scaledHigh, scaledLow);  // the largest weighted value comes from the smallest
    FoldRange(term.type, maximum[i], minimum[i], scaledHigh, scaledLow);
  }
}

void CTavImportTavOutput::GetMaxMinDataFromCombo(int32_t target, const Term& term) {
  FoldBeams(target, term);
  FoldJoints(target, term);
}

// Station s of a beam's envelopes is station s of the result store; the
// stations the envelopes do not reach fold their block values.
void CTavImportTavOutput::FoldBeams(int32_t target, const Term& term) {
  const int32_t stations = m_pData->GetCountResultStation();
  for (int32_t beam = 0; beam < m_pData->GetCountBeam(); ++beam) {
    const int32_t enveloped = EnvelopedStations(term.response, beam);
    for (int32_t station = 0; station < stations; ++station) {
      std::array<double, 7> maximum, minimum, value;  // the position, then six forces
      m_pData->GetResultValue_Beam(beam, target, station, maximum.data(), 7);
      m_pData->GetResultValue_Beam(beam, target + 1, station, minimum.data(), 7);
      m_pData->GetResultValue_Beam(beam, term.source, station, value.data(), 7);
      maximum[0] = minimum[0] = value[0];
      std::array<double, 6> high, low;
      std::copy(value.begin() + 1, value.end(), high.begin());
      low = high;
      if (station < enveloped) {
        for (int force = 0; force < 6; ++force) {
          high[static_cast<size_t>(force)] = term.response->maximum.Force(beam, station, force);
          low[static_cast<size_t>(force)] = term.response->minimum.Force(beam, station, force);
        }
      }
      FoldTerm(term, std::span(maximum).subspan(1), std::span(minimum).subspan(1), high, low);
      m_pData->SetResult_Beam(beam, target, station, maximum.data(), 7);
      m_pData->SetResult_Beam(beam, target + 1, station, minimum.data(), 7);
    }
  }
}

// The envelopes hold displacements and reactions; spring forces fold their
// block values, and so do the reactions the output leaves out (those of the
// degrees of freedom the analysis holds everywhere).
void CTavImportTavOutput::FoldJoints(int32_t target, const Term& term) {
  constexpr size_t kReactions = 6 * TaV_JOINT_REACTION;
  constexpr size_t kDisplacements = 6 * TaV_JOINT_DISPLACEMENT;
  const TaV_RESTRAINTS active = m_pData->GetGlobalOption()->GetDof();
  for (int32_t joint = 0; joint < m_pData->GetCountJoint(); ++joint) {
    std::array<double, 18> maximum, minimum, value;  // the three kinds of six values
    m_pData->GetResultValue_Joint(joint, target, maximum.data(), 18);
    m_pData->GetResultValue_Joint(joint, target + 1, minimum.data(), 18);
    m_pData->GetResultValue_Joint(joint, term.source, value.data(), 18);
    std::array<double, 18> high = value, low = value;
    if (term.response != nullptr) {
      for (int dof = 0; dof < 6; ++dof) {
        const size_t at = static_cast<size_t>(dof);
        high[kDisplacements + at] = term.response->maximum.Displacement(joint, dof);
        low[kDisplacements + at] = term.response->minimum.Displacement(joint, dof);
        if (!active.Get(dof)) continue;
        high[kReactions + at] = term.response->maximum.Reaction(joint, dof);
        low[kReactions + at] = term.response->minimum.Reaction(joint, dof);
      }
    }
    FoldTerm(term, maximum, minimum, high, low);
    m_pData->SetResult_Joint(joint, target, maximum.data(), TaV_JOINT_REACTION, 18);
    m_pData->SetResult_Joint(joint, target + 1, minimum.data(), TaV_JOINT_REACTION, 18);
  }
}

}  // namespace tav
