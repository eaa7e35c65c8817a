#include "tav/results/TavImportTavOutput.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <tuple>
#include <utility>

#include "tav/platform/MessageBox.h"

namespace tav {
namespace {

constexpr const char* kBadFile = "현재 OUT 파일이 비정상적이거나 현재의 모델링과 일치하지 않습니다 !";
constexpr size_t kReadBuffer = 1 << 20;  // an output runs to many megabytes; a small one needs less
constexpr const char* kNoMemory = "결과를 담을 메모리가 부족합니다 !";
constexpr int32_t kTagBytes = 3;           // the two tags of a displacement record
constexpr int32_t kReactionTagBytes = 11;  // the two tags of a reaction record
constexpr int32_t kBeamEndValues = 12;
constexpr size_t kStationValues = 7;  // the position, then six forces
constexpr size_t kJointValues = 18;   // the three kinds of six values

// A combination type outside the known ones, which folds no value.
constexpr auto kNoRule = static_cast<TaV_COMBO_TYPE>(-1);

// A file whose numbers do not fit the model.
class MismatchError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Checks a 1-based object number read at `offset` against the model's
// `count`; gives it from 0.
int32_t CheckNumber(int32_t number, int32_t count, const char* what, uint64_t offset) {
  if (number < 1 || number > count) {
    throw MismatchError(std::string(what) + " " + std::to_string(number) + " at offset " + std::to_string(offset) +
                        " is not in the model");
  }
  return number - 1;
}

int32_t ReadNumber(CArchive& ar, int32_t count, const char* what) {
  const uint64_t offset = ar.GetOffset();
  int32_t number = 0;
  ar >> number;
  return CheckNumber(number, count, what, offset);
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

// Folds `count` values of a term that range from `low` to `high`, weighted
// by `factor`, index by index; `high` and `low` come in the order that
// Ordered gives them. A term's values are read before its restart: a term
// may name the combination it folds into, and read it in place. A term of
// one value (`kOneValue`) has `low` at `high` and reads it once.
template <TaV_COMBO_TYPE kType, bool kMagnitude, bool kFirst, bool kOneValue = false>
[[gnu::always_inline]] inline void FoldValues(double factor, double* maximum, double* minimum, const double* high,
                                              const double* low, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const double scaledHigh = factor * high[i];
    const double scaledLow = kOneValue ? scaledHigh : factor * low[i];
    if constexpr (kFirst) Restart(kType, maximum[i], minimum[i]);
    if constexpr (kMagnitude) {
      FoldMagnitude(kType, maximum[i], minimum[i], scaledHigh);
    } else {
      FoldRange(kType, maximum[i], minimum[i], scaledHigh, scaledLow);
    }
  }
}

// A term's two ends: the largest weighted value comes from the smallest when
// the factor is negative; a magnitude takes its high end alone.
std::pair<const double*, const double*> Ordered(double factor, bool magnitude, const double* high, const double* low) {
  if (!magnitude && factor < 0.0) return {low, high};
  return {high, low};
}

// Calls `fold` with a term's flags as constants, so that the loops over
// values carry no test of them.
template <typename Fold>
[[gnu::always_inline]] inline void WithFlags(bool magnitude, bool first, Fold&& fold) {
  if (magnitude) {
    first ? fold.template operator()<true, true>() : fold.template operator()<true, false>();
  } else {
    first ? fold.template operator()<false, true>() : fold.template operator()<false, false>();
  }
}

// Case `resultCase`'s block of `size` values among an element's blocks;
// empty when it is not there.
std::span<double> CaseBlock(std::span<double> blocks, int32_t resultCase, size_t size) {
  const size_t first = static_cast<size_t>(resultCase) * size;
  if (resultCase < 0 || size == 0 || first + size > blocks.size()) return {};
  return blocks.subspan(first, size);
}

}  // namespace

// A combination term as one beam reads it.
struct CTavImportTavOutput::BeamSource {
  const double* records;  // the station records (the maximum itself for the combination being folded)
  const double* high;     // the envelopes' six forces a station, for the first `enveloped`,
  const double* low;      // in the order Ordered gives them
  size_t enveloped;
};

int CTavImportTavOutput::LoadData(const CString& path) {
  if (!m_pData->AllocResultForceBuff()) {
    TavMessageBox(kNoMemory, MB_OK | MB_ICONSTOP);
    return 0;
  }
  CFile file;
  if (!file.Open(path, CFile::modeRead)) return 0;
  try {
    CArchive ar(&file, CArchive::load, static_cast<size_t>(std::min<uint64_t>(kReadBuffer, file.GetLength())));
    const int32_t loadCases = m_pData->GetCountLoadCase(0);
    const std::vector<double> lengths = BeamLengths();  // once for every case
    for (int32_t block = 0; block < loadCases; ++block) {
      const int32_t resultCase = ReadNumber(ar, loadCases, "load case");
      ReadDisplacement(ar, resultCase);
      ReadMemberForce(ar, resultCase, lengths);
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
  const int32_t joints = m_pData->GetCountJoint();
  std::array<double, 6> values{};
  for (int32_t i = 0; i < joints; ++i) {
    const int32_t joint = ReadNumber(ar, joints, "joint");
    ar.ReadValues(values);
    Skip(ar, 2 * kTagBytes);
    m_pData->SetResult_Joint(joint, resultCase, values.data(), TaV_JOINT_DISPLACEMENT, 6);
  }
  return 1;
}

std::vector<double> CTavImportTavOutput::BeamLengths() const {
  std::vector<double> lengths(static_cast<size_t>(m_pData->GetCountBeam()));
  for (size_t beam = 0; beam < lengths.size(); ++beam)
    lengths[beam] = m_pData->GetLengthBeam(static_cast<int32_t>(beam));
  return lengths;
}

int CTavImportTavOutput::ReadMemberForce(CArchive& ar, int32_t resultCase) {
  return ReadMemberForce(ar, resultCase, BeamLengths());
}

int CTavImportTavOutput::ReadMemberForce(CArchive& ar, int32_t resultCase, std::span<const double> lengths) {
  Skip(ar, 4);
  const int32_t stations = m_pData->GetCountResultStation();
  const int32_t beams = m_pData->GetCountBeam();
  std::vector<double> records(kStationValues * static_cast<size_t>(std::max(stations, 0)));
  // A beam's record opens with its number, its end forces (which the store
  // does not keep) and its station count, taken at once as LONGs.
  std::array<int32_t, 2 + 2 * kBeamEndValues> header{};
  for (int32_t i = 0; i < beams; ++i) {
    const uint64_t offset = ar.GetOffset();
    ar.ReadValues(header);
    const int32_t beam = CheckNumber(header.front(), beams, "beam", offset);
    const int32_t count = header.back();
    if (count < 0 || count > stations) {
      throw MismatchError("beam " + std::to_string(beam + 1) + " has " + std::to_string(count) +
                          " stations; the model keeps " + std::to_string(stations));
    }
    ReadStations(ar, beam, lengths[static_cast<size_t>(beam)], resultCase,
                 std::span(records).first(kStationValues * static_cast<size_t>(count)));
  }
  return 1;
}

void CTavImportTavOutput::ReadStations(CArchive& ar, int32_t beam, double length, int32_t resultCase,
                                       std::span<double> records) {
  const std::span<double> block = m_pData->GetResultBlock_Beam(beam, resultCase);
  if (block.size() >= records.size() && ar.GetBufferedBytes() >= records.size_bytes()) {
    // Straight into the store: a read from the archive's buffer leaves no station half read.
    const std::span<double> stations = block.first(records.size());
    ar.ReadValues(stations);
    for (size_t at = 0; at < stations.size(); at += kStationValues) {
      stations[at] = stations[at] / length;  // the position along the beam, 0 to 1
    }
    return;
  }
  const uint64_t start = ar.GetOffset();
  try {
    ar.ReadValues(records);
  } catch (const ArchiveError&) {
    const auto whole = static_cast<size_t>((ar.GetOffset() - start) / (kStationValues * sizeof(double)));
    StoreStations(beam, length, resultCase, records.first(kStationValues * whole));
    throw;
  }
  StoreStations(beam, length, resultCase, records);
}

void CTavImportTavOutput::StoreStations(int32_t beam, double length, int32_t resultCase,
                                        std::span<const double> records) {
  const std::span<double> block = m_pData->GetResultBlock_Beam(beam, resultCase);
  if (block.size() < records.size()) return;
  for (size_t at = 0; at < records.size(); at += kStationValues) {
    block[at] = records[at] / length;  // the position along the beam, 0 to 1
    std::copy_n(records.begin() + static_cast<std::ptrdiff_t>(at + 1), kStationValues - 1,
                block.begin() + static_cast<std::ptrdiff_t>(at + 1));
  }
}

int CTavImportTavOutput::ReadReaction(CArchive& ar, int32_t resultCase) {
  const TaV_RESTRAINTS active = m_pData->GetGlobalOption()->GetDof();
  std::array<int, 6> dofs{};
  size_t activeCount = 0;
  for (int dof = 0; dof < 6; ++dof) {
    if (active.Get(dof)) dofs[activeCount++] = dof;
  }
  const int32_t joints = m_pData->GetCountJoint();
  std::array<double, 6> read{};
  for (int32_t i = 0; i < joints; ++i) {
    const int32_t joint = ReadNumber(ar, joints, "joint");
    Skip(ar, 2 * kReactionTagBytes);
    ar.ReadValues(std::span(read).first(activeCount));
    double values[6] = {};
    for (size_t k = 0; k < activeCount; ++k) values[dofs[k]] = read[k];
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
    const std::vector<Term> terms = TermsOf(combo, fromFirstTerm);
    const int32_t target = loadCases + 2 * j;
    switch (combo.m_eType) {
      case TaV_COMBO_ADD:
        Compose<TaV_COMBO_ADD>(target, terms);
        break;
      case TaV_COMBO_ENVE:
        Compose<TaV_COMBO_ENVE>(target, terms);
        break;
      case TaV_COMBO_ABS:
        Compose<TaV_COMBO_ABS>(target, terms);
        break;
      default:  // no rule folds a value; the positions still follow the terms
        Compose<kNoRule>(target, terms);
        break;
    }
  }
}

std::vector<CTavImportTavOutput::Term> CTavImportTavOutput::TermsOf(const CTavCombo& combo, bool fromFirstTerm) const {
  std::vector<Term> terms;
  for (const TaV_COMBO_DATA& term : combo.m_arrLoad) {
    const int32_t source = SourceCase(term);
    if (source < 0) continue;
    // A term is weighted by its first scale factor.
    terms.push_back({.source = source,
                     .factor = term.dFactor,
                     .magnitude = term.eType == TaV_LOAD_RESPONSE_SPECTRUM,
                     .first = fromFirstTerm && terms.empty(),
                     .response = ResponseOf(term)});
  }
  return terms;
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

template <TaV_COMBO_TYPE kType, size_t kCount, bool kOneValue>
[[gnu::always_inline]] inline void CTavImportTavOutput::FoldTerm(const Term& term, double* maximum, double* minimum,
                                                                 const double* high, const double* low) {
  WithFlags(term.magnitude, term.first, [&]<bool kMagnitude, bool kFirst>() {
    FoldValues<kType, kMagnitude, kFirst, kOneValue>(term.factor, maximum, minimum, high, low, kCount);
  });
}

// Each value meets every term in order, as when the terms were folded one
// after the other over the whole model; an element's blocks stay at hand
// for all of them.
template <TaV_COMBO_TYPE kType>
void CTavImportTavOutput::Compose(int32_t target, std::span<const Term> terms) {
  if (terms.empty()) return;
  std::vector<BeamSource> sources;
  const int32_t beams = m_pData->GetCountBeam();
  std::span<double> next = m_pData->GetResultBlocks_Beam(0);
  for (int32_t beam = 0; beam < beams; ++beam) {
    const std::span<double> blocks = next;
    if (beam + 1 < beams) {
      next = m_pData->GetResultBlocks_Beam(beam + 1);
      Prefetch(beam + 1, next, terms);
    }
    ComposeBeam<kType>(beam, blocks, target, terms, sources);
  }
  for (int32_t joint = 0; joint < m_pData->GetCountJoint(); ++joint) ComposeJoint<kType>(joint, target, terms);
}

// Asks for a beam's blocks and its terms' envelopes ahead of folding them.
// They lie in separate places, and without being asked the processor
// fetches them only once the fold waits for them.
void CTavImportTavOutput::Prefetch(int32_t beam, std::span<const double> blocks, std::span<const Term> terms) {
  constexpr size_t kLine = 64 / sizeof(double);
  const auto prefetch = [](std::span<const double> values) {
    for (size_t at = 0; at < values.size(); at += kLine) __builtin_prefetch(values.data() + at);
  };
  prefetch(blocks);
  for (const Term& term : terms) {
    if (term.response == nullptr) continue;
    prefetch(term.response->maximum.beamForces[static_cast<size_t>(beam)]);
    prefetch(term.response->minimum.beamForces[static_cast<size_t>(beam)]);
  }
}

// Station s of a beam's envelopes is station s of the result store; the
// stations the envelopes do not reach fold their block values. A case
// outside the store reads as zeros, as the store's own reads do. A term
// naming the combination itself reads what the terms before it left.
template <TaV_COMBO_TYPE kType>
void CTavImportTavOutput::ComposeBeam(int32_t beam, std::span<double> blocks, int32_t target,
                                      std::span<const Term> terms, std::vector<BeamSource>& sources) {
  const size_t size = kStationValues * static_cast<size_t>(std::max(m_pData->GetCountResultStation(), 0));
  const std::span<double> maximum = CaseBlock(blocks, target, size);
  const std::span<double> minimum = CaseBlock(blocks, target + 1, size);
  if (maximum.empty() || minimum.empty()) return;
  std::vector<double> zeros;
  sources.clear();
  for (const Term& term : terms) {
    std::span<const double> records = CaseBlock(blocks, term.source, size);
    if (records.empty()) {
      zeros.assign(maximum.size(), 0.0);  // one size: the pointers taken stay valid
      records = zeros;
    }
    BeamSource& from =
        sources.emplace_back(BeamSource{.records = records.data(), .high = nullptr, .low = nullptr, .enveloped = 0});
    from.enveloped = static_cast<size_t>(EnvelopedStations(term.response, beam));
    if (from.enveloped == 0) continue;
    std::tie(from.high, from.low) =
        Ordered(term.factor, term.magnitude, term.response->maximum.beamForces[static_cast<size_t>(beam)].data(),
                term.response->minimum.beamForces[static_cast<size_t>(beam)].data());
  }
  const double* positions = PositionSource(sources, maximum.data());
  std::vector<double> kept;
  if (positions == nullptr) {
    kept.assign(maximum.begin(), maximum.end());
    positions = kept.data();
  }
  for (size_t k = 0; k < terms.size(); ++k) FoldStations<kType>(terms[k], sources[k], maximum, minimum);
  for (size_t at = 0; at < maximum.size(); at += kStationValues) {
    maximum[at] = positions[at];
    minimum[at] = positions[at];
  }
}

// Each term brings its stations' positions, so the last one's stay; a term
// naming the combination brings the positions it holds, which are those of
// the term before it.
const double* CTavImportTavOutput::PositionSource(std::span<const BeamSource> sources, const double* combination) {
  const auto last = std::find_if(sources.rbegin(), sources.rend(),
                                 [&](const BeamSource& from) { return from.records != combination; });
  return last == sources.rend() ? nullptr : last->records;
}

// One term over every station of a beam. Past its envelopes a term's
// records lie as the combination's do, and fold as one run of values; the
// positions among them take part and are set once every term is folded.
template <TaV_COMBO_TYPE kType>
void CTavImportTavOutput::FoldStations(const Term& term, const BeamSource& from, std::span<double> maximum,
                                       std::span<double> minimum) {
  const size_t enveloped = std::min(from.enveloped, maximum.size() / kStationValues);
  WithFlags(term.magnitude, term.first, [&]<bool kMagnitude, bool kFirst>() {
    for (size_t station = 0; station < enveloped; ++station) {
      const size_t at = kStationValues * station + 1;
      FoldValues<kType, kMagnitude, kFirst>(term.factor, &maximum[at], &minimum[at], from.high + 6 * station,
                                            from.low + 6 * station, kStationValues - 1);
    }
    const size_t rest = kStationValues * enveloped;
    FoldValues<kType, kMagnitude, kFirst, true>(term.factor, maximum.data() + rest, minimum.data() + rest,
                                                from.records + rest, from.records + rest, maximum.size() - rest);
  });
}

// The envelopes hold displacements and reactions; spring forces fold their
// block values, and so do the reactions the output leaves out (those of the
// degrees of freedom the analysis holds everywhere).
template <TaV_COMBO_TYPE kType>
void CTavImportTavOutput::ComposeJoint(int32_t joint, int32_t target, std::span<const Term> terms) {
  constexpr size_t kReactions = 6 * TaV_JOINT_REACTION;
  constexpr size_t kDisplacements = 6 * TaV_JOINT_DISPLACEMENT;
  constexpr size_t kSprings = 6 * TaV_JOINT_SPRING;
  const std::span<double> blocks = m_pData->GetResultBlocks_Joint(joint);
  const std::span<double> maximum = CaseBlock(blocks, target, kJointValues);
  const std::span<double> minimum = CaseBlock(blocks, target + 1, kJointValues);
  if (maximum.size() != kJointValues || minimum.size() != kJointValues) return;
  const TaV_RESTRAINTS active = m_pData->GetGlobalOption()->GetDof();
  const bool allActive = (active.byFlags & 0x3F) == 0x3F;
  const auto foldSix = [&](const Term& term, size_t first, const double* high, const double* low) {
    const auto [upper, lower] = Ordered(term.factor, term.magnitude, high, low);
    FoldTerm<kType, 6>(term, maximum.data() + first, minimum.data() + first, upper, lower);
  };
  constexpr std::array<double, kJointValues> kZeros{};  // a case outside the store
  for (const Term& term : terms) {
    const std::span<const double> source = CaseBlock(blocks, term.source, kJointValues);
    const double* value = source.empty() ? kZeros.data() : source.data();  // the three kinds of six values
    if (term.response == nullptr) {
      FoldTerm<kType, kJointValues, true>(term, maximum.data(), minimum.data(), value, value);
      continue;
    }
    if (allActive) {  // each kind of six from its own place
      const size_t at = 6 * static_cast<size_t>(joint);
      const TavResponseValues& upper = term.response->maximum;
      const TavResponseValues& lower = term.response->minimum;
      foldSix(term, kReactions, upper.reactions.data() + at, lower.reactions.data() + at);
      foldSix(term, kDisplacements, upper.displacements.data() + at, lower.displacements.data() + at);
      foldSix(term, kSprings, value + kSprings, value + kSprings);
      continue;
    }
    std::array<double, kJointValues> high, low;  // the term's own order; Ordered takes the factor's
    std::copy_n(value, kJointValues, high.begin());
    low = high;
    for (int dof = 0; dof < 6; ++dof) {
      const size_t at = static_cast<size_t>(dof);
      high[kDisplacements + at] = term.response->maximum.Displacement(joint, dof);
      low[kDisplacements + at] = term.response->minimum.Displacement(joint, dof);
      if (!active.Get(dof)) continue;
      high[kReactions + at] = term.response->maximum.Reaction(joint, dof);
      low[kReactions + at] = term.response->minimum.Reaction(joint, dof);
    }
    const auto [upper, lower] = Ordered(term.factor, term.magnitude, high.data(), low.data());
    FoldTerm<kType, kJointValues>(term, maximum.data(), minimum.data(), upper, lower);
  }
}

}  // namespace tav
