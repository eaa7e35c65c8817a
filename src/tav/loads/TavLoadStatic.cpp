#include "tav/loads/TavLoadStatic.h"

#include "tav/model/Records.h"
#include "tav/platform/Format.h"

namespace tav {
namespace {

constexpr size_t kJointLoadRecordBytes = 60;
constexpr size_t kBeamLoadRecordBytes = 336;

template <typename T>
int32_t AppendLoad(std::vector<std::unique_ptr<T>>& list, std::unique_ptr<T> load) {
  list.push_back(std::move(load));
  return static_cast<int32_t>(list.size() - 1);
}

template <typename T>
std::unique_ptr<T> JointValues(int32_t joint, double v1, double v2, double v3, double v4, double v5, double v6,
                               int32_t function) {
  auto load = std::make_unique<T>();
  load->m_nJoint = joint;
  const double values[6] = {v1, v2, v3, v4, v5, v6};
  for (int i = 0; i < 6; ++i) load->m_dValue[i] = values[i];
  load->m_nFunction = function;
  return load;
}

}  // namespace

void CTavLoadStatic::Init() {
  m_strName.clear();
  m_bSelfWeight = 0;
  m_pSelfWeight.reset();
}

void CTavLoadStatic::Destroy() {
  m_arrLoadJoint.clear();
  m_arrLoadBeam.clear();
  m_arrLoadDisplacement.clear();
  m_pSelfWeight.reset();
}

// Version 1 adds the self-weight record.
void CTavLoadStatic::Serialize(CArchive& ar) {
  const int32_t version = SerializeVersion(ar, 1, "static load case");
  Exchange(ar, m_nIndex);
  SerializeLoads(ar);
  if (version >= 1) SerializeOptional(ar, m_pSelfWeight, "self weight");
}

void CTavLoadStatic::SerializeLoads(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << m_strName << m_bSelfWeight;
  } else {
    ar >> m_strName >> m_bSelfWeight;
  }
  SerializeOwned(ar, m_arrLoadJoint, kJointLoadRecordBytes, "joint loads");
  SerializeOwned(ar, m_arrLoadBeam, kBeamLoadRecordBytes, "beam loads");
  SerializeOwned(ar, m_arrLoadDisplacement, kJointLoadRecordBytes, "prescribed displacements");
}

int32_t CTavLoadStatic::AddLoadStatic_Joint(int32_t joint, double px, double py, double pz, double mx, double my,
                                            double mz, int32_t function) {
  return AppendLoad(m_arrLoadJoint, JointValues<CTavLoadJoint>(joint, px, py, pz, mx, my, mz, function));
}

int32_t CTavLoadStatic::AddLoadStatic_Displacement(int32_t joint, double dx, double dy, double dz, double rx, double ry,
                                                   double rz, int32_t function) {
  return AppendLoad(m_arrLoadDisplacement, JointValues<CTavLoadDisplacement>(joint, dx, dy, dz, rx, ry, rz, function));
}

int32_t CTavLoadStatic::AddLoadStatic_BEAMLOAD_DIST_W1W2(int32_t beam, TaV_DIR dir, double w1, double w2, double d1,
                                                         double d2, int32_t function, int absoluteDist) {
  if (dir < TaV_DIR_X || dir > TaV_DIR_Z) return -1;
  TaV_TYPED_LOAD loads[3];
  TaV_TYPED_LOAD& load = loads[dir];
  load.nValue = 2;
  load.nDist = 2;
  load.dValue[0] = w1;
  load.dValue[1] = w2;
  load.dDist[0] = d1;
  load.dDist[1] = d2;
  return AddLoadStatic_Beam(beam, TaV_BEAMLOAD_DISTRIBUTED, loads[0], loads[1], loads[2], function, absoluteDist);
}

int32_t CTavLoadStatic::AddLoadStatic_Beam(int32_t beam, TaV_BEMALOAD_TYPE type, TaV_TYPED_LOAD x, TaV_TYPED_LOAD y,
                                           TaV_TYPED_LOAD z, int32_t function, int absoluteDist) {
  auto load = std::make_unique<CTavLoadBeam>();
  load->m_nIndex = GetSizeLoadBeam();
  load->m_nBeam = beam;
  load->m_eType = type;
  load->m_Load[0] = x;
  load->m_Load[1] = y;
  load->m_Load[2] = z;
  load->m_nFunction = function;
  load->m_bAbsoluteDist = absoluteDist;
  return AppendLoad(m_arrLoadBeam, std::move(load));
}

void CTavLoadStatic::AddSelfWeight(TaV_DIR dir, double factor, double acceleration, int32_t function) {
  if (!m_pSelfWeight) m_pSelfWeight = std::make_unique<CTavSelfWeight>();
  m_pSelfWeight->m_eDir = dir;
  m_pSelfWeight->m_dFactor = factor;
  m_pSelfWeight->m_dAcceleration = acceleration;
  m_pSelfWeight->m_nFunction = function;
}

CString CTavLoadStatic::GetStringTitle() const {
  CString title = Format("STATIC LOAD CONDITION %d", m_nIndex + 1);
  if (m_pSelfWeight) title += " SELF WEIGHT";
  if (GetSizeLoadJoint() > 0) title += Format(" JOINT LOAD=%d", GetSizeLoadJoint());
  if (GetSizeLoadBeam() > 0) title += Format(" BEAM LOAD=%d", GetSizeLoadBeam());
  if (GetSizeLoadDisplacement() > 0) title += Format(" PRESCRIBED DISPLACEMENT LOAD=%d", GetSizeLoadDisplacement());
  return title;
}

}  // namespace tav
