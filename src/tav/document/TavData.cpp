#include "tav/document/TavData.h"

#include <cmath>
#include <cstdlib>

#include "tav/util/Tokenize.h"

namespace tav {
namespace {

// Degrees per radian.
constexpr double kDegreesPerRadian = 57.29577951308232;

template <typename T, typename Owner>
T* Append(std::vector<std::unique_ptr<Owner>>& list, std::unique_ptr<T> object) {
  T* raw = object.get();
  list.push_back(std::move(object));
  return raw;
}

}  // namespace

CTavData::CTavData() { Init(); }

CTavData::~CTavData() { Destroy(); }

void CTavData::Init() {
  m_own = OwnValues();
  m_pGlobalOption = std::make_unique<CTavGlobalOption>();
  m_pFunction = std::make_unique<CTavFunction>();
  m_pConstraints = std::make_unique<CTavJointConstraints>();
  m_pJointMass = std::make_unique<CTavJointMass>();
  m_pJointDamping = std::make_unique<CTavJointDamping>();
}

void CTavData::ClearData() {
  if (m_pGlobalOption) m_pGlobalOption->ClearData();
  if (m_pFunction) m_pFunction->ClearData();
  if (m_pConstraints) m_pConstraints->ClearData();
  if (m_pJointMass) m_pJointMass->ClearData();
  if (m_pJointDamping) m_pJointDamping->ClearData();
  m_arrResultJoint.clear();
  m_arrResultBeam.clear();
  m_arrResultOther.clear();
  m_modal = TavModalResults();
  m_responses = TavResponseResults();
  m_arrJoint.clear();
  m_arrBeam.clear();
  m_arrNLLink.clear();
  m_arrLocalCoord.clear();
  m_arrRigidLink.clear();
  m_arrSpare.clear();
  m_arrGroup.clear();
  m_arrLoadStatic.clear();
  m_arrLoadHistory.clear();
  m_arrLoadResponseSpectrum.clear();
  m_arrLoadMoving.clear();
  m_arrCombo.clear();
}

void CTavData::Destroy() {
  ClearData();
  m_pGlobalOption.reset();
  m_pFunction.reset();
  m_pConstraints.reset();
  m_pJointMass.reset();
  m_pJointDamping.reset();
}

int32_t CTavData::GetSetting(int which) const {
  switch (which) {
    case 1:
      return m_own.setting1;
    case 2:
      return m_own.setting2;
    case 3:
      return m_own.setting3;
    case 4:
      return m_own.setting4;
    default:
      return 0;
  }
}

void CTavData::SetSetting(int which, int32_t value) {
  switch (which) {
    case 1:
      m_own.setting1 = value;
      break;
    case 2:
      m_own.setting2 = value;
      break;
    case 3:
      m_own.setting3 = value;
      break;
    case 4:
      m_own.setting4 = value;
      break;
    default:
      break;
  }
}

// ---- Joints ------------------------------------------------------------

int32_t CTavData::AddJoint(double x, double y, double z, int32_t localCoord) {
  auto joint = std::make_unique<CTavJoint>();
  joint->m_nIndex = GetCountJoint();
  joint->m_vPos = CVector(x, y, z);
  joint->m_nLocalCoord = localCoord;
  return Append(m_arrJoint, std::move(joint))->m_nIndex;
}

int32_t CTavData::AddJoint(const CVector& position, int32_t localCoord) {
  return AddJoint(position.x, position.y, position.z, localCoord);
}

int32_t CTavData::AddJoint(double x, double y, double z, bool ux, bool uy, bool uz, bool rx, bool ry, bool rz,
                           int32_t localCoord) {
  const int32_t joint = AddJoint(x, y, z, localCoord);
  SetJointRestraint(joint, ux, uy, uz, rx, ry, rz);
  return joint;
}

void CTavData::SetJointRestraint(int32_t joint, bool ux, bool uy, bool uz, bool rx, bool ry, bool rz) {
  GetJoint(joint)->m_Restraint.SetSix(ux, uy, uz, rx, ry, rz);
}

void CTavData::SetLocalCoodSystem(int32_t joint, int32_t localCoord) { GetJoint(joint)->m_nLocalCoord = localCoord; }

void CTavData::AddJointMass(int32_t joint, double xmx, double xmy, double xmz, double rmx, double rmy, double rmz) {
  m_pJointMass->Add(joint, xmx, xmy, xmz, rmx, rmy, rmz);
}

void CTavData::AddJointDamping(int32_t joint, double xdx, double xdy, double xdz, double rdx, double rdy, double rdz) {
  m_pJointDamping->Add(joint, xdx, xdy, xdz, rdx, rdy, rdz);
}

int32_t CTavData::AddJointConstraintDiap(int32_t master, CLongArray slaves) {
  return m_pConstraints->AddDiaphragm(master, slaves);
}

int32_t CTavData::AddJointConstraintDiap(int32_t master, const CString& slaves) {
  CStringArray words;
  SeperateText(slaves, words);
  CLongArray joints;
  for (const CString& word : words) joints.Add(std::atoi(word.c_str()));
  return AddJointConstraintDiap(master, std::move(joints));
}

int32_t CTavData::AddLocalCoordSystem(double angle1, double angle2, double angle3, int degrees) {
  const double factor = degrees == 0 ? kDegreesPerRadian : 1.0;
  auto system = std::make_unique<CTavLocalCoord>();
  system->m_nIndex = GetCountLocalCoord();
  system->m_dAngle[0] = angle1 * factor;
  system->m_dAngle[1] = angle2 * factor;
  system->m_dAngle[2] = angle3 * factor;
  return Append(m_arrLocalCoord, std::move(system))->m_nIndex;
}

// ---- Groups, beams, links ----------------------------------------------

CTavGroupElement* CTavData::AddGroupElement() {
  auto group = std::make_unique<CTavGroupElement>();
  group->m_nIndex = Count(m_arrGroup);
  return Append(m_arrGroup, std::move(group));
}

CTavGroupSpring* CTavData::AddGroupSpringConstants() {
  auto group = std::make_unique<CTavGroupSpring>();
  group->m_nIndex = Count(m_arrGroup);
  return Append(m_arrGroup, std::move(group));
}

CTavGroupNllink* CTavData::AddGroupNllink() {
  auto group = std::make_unique<CTavGroupNllink>();
  group->m_nIndex = Count(m_arrGroup);
  return Append(m_arrGroup, std::move(group));
}

int32_t CTavData::GetCountLinearGroup() const {
  int32_t count = 0;
  for (const auto& group : m_arrGroup) {
    if (group->GetType() == CTavGroup::kBeam || group->GetType() == CTavGroup::kSpring) ++count;
  }
  return count;
}

int32_t CTavData::GetCountNonLinearGroup() const {
  int32_t count = 0;
  for (const auto& group : m_arrGroup) {
    if (group->GetType() == CTavGroup::kLink) ++count;
  }
  return count;
}

CTavBeam* CTavData::AddBeam(CTavGroupElement* group, int32_t section, int32_t jointI, int32_t jointJ, double angle,
                            int releaseI, int releaseJ, double offsetI, double offsetJ, double rigid, double nreg) {
  return Append(m_arrBeam, group->AddBeam(GetCountBeam(), section, jointI, jointJ, angle, releaseI, releaseJ, offsetI,
                                          offsetJ, rigid, nreg));
}

double CTavData::GetLengthBeam(int32_t beam) const {
  const CTavBeam* element = GetBeam(beam);
  const CVector d = GetJoint(element->m_nJointJ)->m_vPos - GetJoint(element->m_nJointI)->m_vPos;
  return std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
}

CTavNLLink* CTavData::AddNllink(CTavGroupNllink* group, int32_t jointI, int32_t jointJ, int32_t property,
                                double angle) {
  return Append(m_arrNLLink, group->AddNllink(GetCountNLLink(), jointI, jointJ, property, angle));
}

// ---- Load cases --------------------------------------------------------

CTavLoadStatic* CTavData::AddLoadStatic(const CString& name, int selfWeight) {
  auto loadCase = std::make_unique<CTavLoadStatic>();
  loadCase->m_nIndex = GetCountStaticLoad();
  loadCase->m_strName = name;
  loadCase->m_bSelfWeight = selfWeight;
  return Append(m_arrLoadStatic, std::move(loadCase));
}

CTavLoadHistory* CTavData::AddLoadHistory(const CString& name) {
  auto loadCase = std::make_unique<CTavLoadHistory>();
  loadCase->m_nHistoryIndex = GetCountHistoryLoad();
  loadCase->m_strName = name;
  return Append(m_arrLoadHistory, std::move(loadCase));
}

CTavLoadResponseSpectrum* CTavData::AddLoadResponseSpectrum(const CString& name) {
  auto loadCase = std::make_unique<CTavLoadResponseSpectrum>();
  loadCase->m_nIndex = GetCountResponseSpectrumLoad();
  loadCase->m_strName = name;
  return Append(m_arrLoadResponseSpectrum, std::move(loadCase));
}

CTavLoadMoving* CTavData::AddMovingLoad(const CString& name) {
  auto loadCase = std::make_unique<CTavLoadMoving>();
  loadCase->m_nIndex = GetCountMovingLoad();
  loadCase->m_strName = name;
  return Append(m_arrLoadMoving, std::move(loadCase));
}

CTavCombo* CTavData::AddCombo(const CString& name, TaV_COMBO_TYPE type) {
  auto combo = std::make_unique<CTavCombo>();
  combo->m_strName = name;
  combo->m_eType = type;
  return Append(m_arrCombo, std::move(combo));
}

int32_t CTavData::GetCountLoadCase(int withCombo) const {
  const int32_t cases =
      GetCountStaticLoad() + GetCountHistoryLoad() + GetCountResponseSpectrumLoad() + GetCountMovingLoad();
  return withCombo == 0 ? cases : cases + 2 * GetCountComboLoad();
}

int CTavData::GetStringLoadCaseAll(CStringArray& names) const {
  if (GetCountLoadCase(1) == 0) return 0;
  for (const auto& c : m_arrLoadStatic) names.push_back(c->GetStringName());
  for (const auto& c : m_arrLoadHistory) names.push_back(c->GetStringName());
  for (const auto& c : m_arrLoadResponseSpectrum) names.push_back(c->GetStringName());
  for (const auto& c : m_arrLoadMoving) names.push_back(c->GetStringName());
  for (const auto& c : m_arrCombo) names.push_back(c->GetStringName());
  return 1;
}

int32_t CTavData::GetLoadCaseReal(int32_t position) const {
  const int32_t cases = GetCountLoadCase(0);
  return position < cases ? position : 2 * position - cases;
}

int CTavData::GetLoadCaseIndex(const CString& name, int32_t& index, bool afterStaticOnly) const {
  for (index = 0; index < GetCountStaticLoad(); ++index) {
    if (m_arrLoadStatic[static_cast<size_t>(index)]->m_strName == name) return 1;
  }
  index = afterStaticOnly ? GetCountStaticLoad() : GetCountLoadCase(0);
  for (const auto& combo : m_arrCombo) {
    const CString& comboName = combo->m_strName;
    if (name == comboName || name == comboName + " MAX") return 1;
    if (name == comboName + " MIN") {
      ++index;
      return 1;
    }
    index += 2;
  }
  index = -1;
  return 0;
}

CString CTavData::GetLoadName(int32_t number, TaV_LOAD_TYPE type) const {
  switch (type) {
    case TaV_LOAD_STATIC:
      return GetStaticLoad(number)->GetStringName();
    case TaV_LOAD_HISTORY:
      return GetHistoryLoad(number)->GetStringName();
    case TaV_LOAD_RESPONSE_SPECTRUM:
      return GetResponseSpectrum(number)->GetStringName();
    case TaV_LOAD_MOVING:
      return GetMovingLoad(number)->GetStringName();
    case TaV_LOAD_COMBO:
      return GetCombo(number)->GetStringName();
  }
  return "";
}

}  // namespace tav
