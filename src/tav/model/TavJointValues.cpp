#include "tav/model/TavJointValues.h"

#include "tav/model/TavText.h"

namespace tav {

void CTavJointValueList::Add(int32_t joint, double v1, double v2, double v3, double v4, double v5, double v6) {
  TaV_JOINT_VALUES record;
  record.nJoint = joint;
  const double values[6] = {v1, v2, v3, v4, v5, v6};
  for (int i = 0; i < 6; ++i) record.dValue[i] = values[i];
  m_arrData.push_back(record);
}

void CTavJointValueList::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << int32_t{0};
    for (const TaV_JOINT_VALUES& record : m_arrData) {
      ar << record.nJoint;
      for (double value : record.dValue) ar << value;
    }
  } else {
    int32_t version = 0;
    ar >> version;
    for (TaV_JOINT_VALUES& record : m_arrData) {
      ar >> record.nJoint;
      for (double& value : record.dValue) ar >> value;
    }
  }
}

CString CTavJointMass::GetStringMass(int32_t record) const {
  static const char* const kNames[6] = {"XMX", "XMY", "XMZ", "RMX", "RMY", "RMZ"};
  return JoinNonZeroValues(GetData(record)->dValue, kNames);
}

CString CTavJointDamping::GetStringDamping(int32_t record) const {
  static const char* const kNames[6] = {"XDX", "XDY", "XDZ", "RDX", "RDY", "RDZ"};
  return JoinNonZeroValues(GetData(record)->dValue, kNames);
}

}  // namespace tav
