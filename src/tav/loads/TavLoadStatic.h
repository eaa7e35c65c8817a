// A static load case: a named set of joint loads, beam loads, prescribed
// displacements and an optional self weight, applied together. Owned by the
// document; the case owns its loads, and pointers to them stay valid until
// the case is destroyed or a loaded record trims its lists.
#pragma once

#include <memory>
#include <vector>

#include "tav/loads/TavLoadRecords.h"
#include "tav/model/TavObject.h"
#include "tav/platform/String.h"

namespace tav {

class CTavLoadStatic : public CTavObject {
 public:
  CTavLoadStatic() { CTavLoadStatic::Init(); }
  ~CTavLoadStatic() override { CTavLoadStatic::Destroy(); }

  // Name empty, self-weight switch 0, no self-weight record.
  void Init() override;
  // Deletes every load and the self-weight record.
  void Destroy() override;
  // Version, number, name, self-weight switch, then each load list as a
  // count and its records; version 1 adds the self-weight record.
  void Serialize(CArchive& ar) override;

  // Each returns the new load's position in its own list.
  int32_t AddLoadStatic_Joint(int32_t joint, double px, double py, double pz, double mx, double my, double mz,
                              int32_t function);
  int32_t AddLoadStatic_Displacement(int32_t joint, double dx, double dy, double dz, double rx, double ry, double rz,
                                     int32_t function);
  // A distributed load in `dir` from w1 at d1 to w2 at d2. A direction other
  // than X, Y or Z adds nothing and returns -1.
  int32_t AddLoadStatic_BEAMLOAD_DIST_W1W2(int32_t beam, TaV_DIR dir, double w1, double w2, double d1, double d2,
                                           int32_t function, int absoluteDist);
  int32_t AddLoadStatic_Beam(int32_t beam, TaV_BEMALOAD_TYPE type, TaV_TYPED_LOAD x, TaV_TYPED_LOAD y, TaV_TYPED_LOAD z,
                             int32_t function, int absoluteDist);
  // Fills the self-weight record, creating it when the case has none.
  void AddSelfWeight(TaV_DIR dir, double factor, double acceleration, int32_t function);

  int32_t GetSizeLoadJoint() const { return static_cast<int32_t>(m_arrLoadJoint.size()); }
  int32_t GetSizeLoadBeam() const { return static_cast<int32_t>(m_arrLoadBeam.size()); }
  int32_t GetSizeLoadDisplacement() const { return static_cast<int32_t>(m_arrLoadDisplacement.size()); }
  CTavLoadJoint* GetLoadJoint(int32_t i) const { return m_arrLoadJoint[static_cast<size_t>(i)].get(); }
  CTavLoadBeam* GetLoadBeam(int32_t i) const { return m_arrLoadBeam[static_cast<size_t>(i)].get(); }
  CTavLoadDisplacement* GetLoadDisplacement(int32_t i) const {
    return m_arrLoadDisplacement[static_cast<size_t>(i)].get();
  }

  int IsSelfWeight() const { return m_pSelfWeight ? 1 : 0; }
  CTavSelfWeight* GetSelfWeight() const { return m_pSelfWeight.get(); }
  CString GetStringName() const { return m_strName; }
  // "STATIC LOAD CONDITION n" with the self weight and the load counts.
  CString GetStringTitle() const;
  // "SELF WEIGHT" while the case has its record, else empty.
  CString GetStringSelfWeight() const { return m_pSelfWeight ? "SELF WEIGHT" : ""; }

  int32_t m_nIndex = -1;
  CString m_strName;
  int32_t m_bSelfWeight = 0;
  std::vector<std::unique_ptr<CTavLoadJoint>> m_arrLoadJoint;
  std::vector<std::unique_ptr<CTavLoadBeam>> m_arrLoadBeam;
  std::vector<std::unique_ptr<CTavLoadDisplacement>> m_arrLoadDisplacement;
  std::unique_ptr<CTavSelfWeight> m_pSelfWeight;

 protected:
  // Name, self-weight switch and the three load lists, shared with the
  // history case's record.
  void SerializeLoads(CArchive& ar);
};

}  // namespace tav
