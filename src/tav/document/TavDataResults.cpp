// The result store of the document: two flat blocks addressed by fixed
// arithmetic, and the queries a host draws from.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <span>
#include <utility>

#include "tav/document/TavData.h"
#include "tav/platform/Memory.h"
#include "tav/util/Round.h"

namespace tav {
namespace {

constexpr int64_t kJointValuesPerCase = 18;  // three kinds of six
constexpr int64_t kBeamRecordSize = 7;       // position and six forces

// Copies `count` values into `buffer` at `position` when they fit.
void Store(std::vector<double>& buffer, int64_t position, const double* values, int32_t count) {
  if (position < 0 || count <= 0 || position + count > static_cast<int64_t>(buffer.size())) return;
  std::memcpy(buffer.data() + position, values, static_cast<size_t>(count) * sizeof(double));
}

// Copies `count` values out of `buffer`, zeros where there is nothing.
void Fetch(const std::vector<double>& buffer, int64_t position, double* values, int32_t count) {
  if (count <= 0) return;
  if (position < 0 || position + count > static_cast<int64_t>(buffer.size())) {
    std::fill(values, values + count, 0.0);
    return;
  }
  std::memcpy(values, buffer.data() + position, static_cast<size_t>(count) * sizeof(double));
}

// The `count` values of `buffer` from `position` on; empty unless all fit.
std::span<const double> Block(const std::vector<double>& buffer, int64_t position, int64_t count) {
  if (position < 0 || count <= 0 || position + count > static_cast<int64_t>(buffer.size())) return {};
  return std::span(buffer).subspan(static_cast<size_t>(position), static_cast<size_t>(count));
}

// The same block, writable: it is the caller's buffer.
std::span<double> Writable(std::vector<double>& buffer, std::span<const double> block) {
  if (block.empty()) return {};
  return std::span(buffer).subspan(static_cast<size_t>(block.data() - buffer.data()), block.size());
}

// Makes `buffer` `count` zeros, in a fresh block advised to take huge
// pages when the one it has is too small: filling a big result store is
// then mostly not page faults.
void AssignZeros(std::vector<double>& buffer, size_t count) {
  if (count > buffer.capacity()) {
    std::vector<double> fresh;
    fresh.reserve(count);
    AdviseHugePages(fresh.data(), count * sizeof(double));
    buffer = std::move(fresh);
  }
  buffer.assign(count, 0.0);
}

}  // namespace

bool CTavData::AllocResultForceBuff() {
  m_arrResultJoint.clear();
  m_arrResultBeam.clear();
  m_arrResultOther.clear();
  // Sizes in 64 bits: a large model may need more values than a 32-bit
  // product can count, and memory may not hold them.
  const uint64_t cases = static_cast<uint64_t>(std::max(GetCountLoadCase(1), 0));
  const uint64_t joints = static_cast<uint64_t>(GetCountJoint());
  const uint64_t beams = static_cast<uint64_t>(GetCountBeam());
  const uint64_t stations = static_cast<uint64_t>(std::max(GetCountResultStation(), 0));
  uint64_t jointValues = 0;
  uint64_t beamValues = 0;
  if (__builtin_mul_overflow(joints * cases, static_cast<uint64_t>(kJointValuesPerCase), &jointValues) ||
      __builtin_mul_overflow(beams * cases, stations * static_cast<uint64_t>(kBeamRecordSize), &beamValues) ||
      jointValues > m_arrResultJoint.max_size() || beamValues > m_arrResultBeam.max_size()) {
    return false;
  }
  try {
    AssignZeros(m_arrResultJoint, static_cast<size_t>(jointValues));
    AssignZeros(m_arrResultBeam, static_cast<size_t>(beamValues));
  } catch (const std::bad_alloc&) {
    m_arrResultJoint = {};
    m_arrResultBeam = {};
    return false;
  }
  m_own.lockInput = 1;
  return true;
}

int64_t CTavData::GetPosJointResultBuff(int32_t joint, int32_t resultCase, TaV_JOINT_FORCE_TYPE kind) const {
  const int64_t cases = GetCountLoadCase(1);
  return 6 * (kind + 3 * (cases * joint + resultCase));
}

int64_t CTavData::GetPosBeamResultBuff(int32_t beam, int32_t resultCase, int32_t station) const {
  const int64_t cases = GetCountLoadCase(1);
  const int64_t stations = GetCountResultStation();
  return kBeamRecordSize * (stations * (cases * beam + resultCase) + station);
}

void CTavData::SetResult_Joint(int32_t joint, int32_t resultCase, const double* values, TaV_JOINT_FORCE_TYPE kind,
                               int32_t count) {
  Store(m_arrResultJoint, GetPosJointResultBuff(joint, resultCase, kind), values, count);
}

void CTavData::SetResult_Beam(int32_t beam, int32_t resultCase, int32_t station, const double* values, int32_t count) {
  Store(m_arrResultBeam, GetPosBeamResultBuff(beam, resultCase, station), values, count);
}

CVector CTavData::GetResultValue_Joint(int32_t joint, int32_t resultCase, TaV_JOINT_FORCE_TYPE kind,
                                       int rotation) const {
  double values[6];
  Fetch(m_arrResultJoint, GetPosJointResultBuff(joint, resultCase, kind), values, 6);
  const int first = rotation == 0 ? 0 : 3;
  return CVector(values[first], values[first + 1], values[first + 2]);
}

void CTavData::GetResultValue_Joint(int32_t joint, int32_t resultCase, double* values, int32_t count) const {
  Fetch(m_arrResultJoint, GetPosJointResultBuff(joint, resultCase, TaV_JOINT_REACTION), values, count);
}

CVector CTavData::GetResultValue_Joint_Displacement(int32_t joint, int32_t resultCase) const {
  return GetResultValue_Joint(joint, resultCase, TaV_JOINT_DISPLACEMENT, 0);
}

double CTavData::GetResultValue_Beam_Force(int32_t beam, int32_t resultCase, int32_t station,
                                           TaV_BEAM_FORCE_TYPE component) const {
  double value = 0.0;
  Fetch(m_arrResultBeam, GetPosBeamResultBuff(beam, resultCase, station) + 1 + component, &value, 1);
  return RoundResult(value);
}

double CTavData::GetResultValue_Beam_Dist(int32_t beam, int32_t resultCase, int32_t station) const {
  double value = 0.0;
  Fetch(m_arrResultBeam, GetPosBeamResultBuff(beam, resultCase, station), &value, 1);
  return RoundResult(value);
}

void CTavData::GetResultValue_Beam(int32_t beam, int32_t resultCase, int32_t station, double* values,
                                   int32_t count) const {
  Fetch(m_arrResultBeam, GetPosBeamResultBuff(beam, resultCase, station), values, count);
}

std::span<const double> CTavData::GetResultBlock_Beam(int32_t beam, int32_t resultCase) const {
  // Outside the model's beams and cases a position lands on another block.
  const int64_t cases = GetCountLoadCase(1);
  if (beam < 0 || beam >= GetCountBeam() || resultCase < 0 || resultCase >= cases) return {};
  const int64_t values = kBeamRecordSize * GetCountResultStation();
  return Block(m_arrResultBeam, values * (cases * beam + resultCase), values);
}

std::span<double> CTavData::GetResultBlock_Beam(int32_t beam, int32_t resultCase) {
  return Writable(m_arrResultBeam, std::as_const(*this).GetResultBlock_Beam(beam, resultCase));
}

std::span<const double> CTavData::GetResultBlock_Joint(int32_t joint, int32_t resultCase) const {
  const int64_t cases = GetCountLoadCase(1);
  if (joint < 0 || joint >= GetCountJoint() || resultCase < 0 || resultCase >= cases) return {};
  return Block(m_arrResultJoint, kJointValuesPerCase * (cases * joint + resultCase), kJointValuesPerCase);
}

std::span<double> CTavData::GetResultBlock_Joint(int32_t joint, int32_t resultCase) {
  return Writable(m_arrResultJoint, std::as_const(*this).GetResultBlock_Joint(joint, resultCase));
}

std::span<double> CTavData::GetResultBlocks_Beam(int32_t beam) {
  if (beam < 0 || beam >= GetCountBeam()) return {};
  const int64_t values = kBeamRecordSize * GetCountResultStation() * GetCountLoadCase(1);
  return Writable(m_arrResultBeam, Block(m_arrResultBeam, values * beam, values));
}

std::span<double> CTavData::GetResultBlocks_Joint(int32_t joint) {
  if (joint < 0 || joint >= GetCountJoint()) return {};
  const int64_t values = kJointValuesPerCase * GetCountLoadCase(1);
  return Writable(m_arrResultJoint, Block(m_arrResultJoint, values * joint, values));
}

void CTavData::CalcMaxMin_Beam(int32_t caseNumber, TaV_BEAM_FORCE_TYPE component) {
  const OwnValues fresh;  // its range is empty: the first value sets both ends
  m_own.resultMin = fresh.resultMin;
  m_own.resultMax = fresh.resultMax;
  const int32_t loadCases = GetCountLoadCase(0);
  const int32_t first = caseNumber < loadCases ? caseNumber : 2 * caseNumber - loadCases;
  const int32_t count = first < loadCases ? 1 : 2;
  for (int32_t resultCase = first; resultCase < first + count; ++resultCase) {
    for (int32_t beam = 0; beam < GetCountBeam(); ++beam) {
      for (int32_t station = 0; station < GetCountResultStation(); ++station) {
        const double value = GetResultValue_Beam_Force(beam, resultCase, station, component);
        if (value > m_own.resultMax) m_own.resultMax = value;
        if (value < m_own.resultMin) m_own.resultMin = value;
      }
    }
  }
}

double CTavData::GetModeCumulativeMassRatio(int32_t mode, int direction) const {
  double sum = 0.0;
  for (int32_t m = 0; m <= mode; ++m) sum += m_modal.modes[m].massRatio[direction];
  return sum;
}

double CTavData::GetValueRatio(double value) const {
  const double largest = std::max(std::fabs(m_own.resultMax), std::fabs(m_own.resultMin));
  return largest == 0.0 ? 0.0 : value / largest;
}

bool CTavData::GetModelExtent(double& extent) const {
  if (m_arrJoint.empty()) return false;
  CVector low = m_arrJoint.front()->m_vPos;
  CVector high = low;
  for (const auto& joint : m_arrJoint) {
    const CVector& p = joint->m_vPos;
    low = CVector(std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z));
    high = CVector(std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z));
  }
  extent = std::max({std::fabs(high.x - low.x), std::fabs(high.y - low.y), std::fabs(high.z - low.z)});
  return true;
}

void CTavData::CalcJointLoad_Arrow(int32_t staticCase, double& value, double& head, double& length) const {
  double extent = 0.0;
  if (!GetModelExtent(extent)) return;
  length = 0.1 * extent;
  head = 0.01 * length;
  if (staticCase < 0 || staticCase >= GetCountStaticLoad()) return;
  // The arrows of a case scale to its largest load.
  double largest = -1.0;
  const CTavLoadStatic& loadCase = *GetStaticLoad(staticCase);
  for (const auto& load : loadCase.m_arrLoadJoint) {
    for (double v : load->m_dValue) largest = std::max(largest, std::fabs(v));
  }
  for (const auto& load : loadCase.m_arrLoadBeam) {
    for (const TaV_TYPED_LOAD& block : load->m_Load) {
      for (int i = 0; i < std::min(block.nValue, 6); ++i) largest = std::max(largest, std::fabs(block.dValue[i]));
    }
  }
  if (largest >= 0.0) value = largest;
}

void CTavData::CalcBeamLoad_Arrow(int32_t /*caseNumber*/, double& value, double& head, double& length) const {
  double extent = 0.0;
  if (!GetModelExtent(extent)) return;
  length = 0.2 * extent;
  head = 0.01 * length;
  value = 1.0;
}

void CTavData::CalcJointReaction_Arrow(int32_t resultCase, double& value, double& head, double& length) const {
  double extent = 0.0;
  if (!GetModelExtent(extent)) return;
  length = 0.1 * extent;
  head = 0.01 * length;
  if (resultCase < 0) return;
  // The arrows scale to the largest translational reaction of the case.
  double largest = 0.0;
  for (int32_t joint = 0; joint < GetCountJoint(); ++joint) {
    const CVector reaction = GetResultValue_Joint(joint, resultCase, TaV_JOINT_REACTION, 0);
    largest = std::max({largest, std::fabs(reaction.x), std::fabs(reaction.y), std::fabs(reaction.z)});
  }
  value = largest;
}

}  // namespace tav
