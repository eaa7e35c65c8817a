#include "tav/model/TavJointValues.h"

#include "tav/model/OwnFormatWords.h"
#include "tav/model/Records.h"
#include "tav/model/TavText.h"

namespace tav {

void CTavJointValueList::Add(int32_t joint, double v1, double v2, double v3, double v4, double v5, double v6) {
  TaV_JOINT_VALUES record;
  record.nJoint = joint;
  const double values[6] = {v1, v2, v3, v4, v5, v6};
  for (int i = 0; i < 6; ++i) record.dValue[i] = values[i];
  m_arrData.push_back(record);
}

// Version 0 has no count: a load fills the records the list holds. Version 1
// writes the count first, so a load makes the list exactly that long.
void CTavJointValueList::Serialize(CArchive& ar) {
  constexpr size_t kRecordBytes = 4 + 6 * 8;
  const int32_t version = SerializeVersion(ar, 1, "joint value list");
  if (ar.IsStoring()) {
    ar << GetCount();
  } else if (version >= 1) {
    int32_t count = 0;
    ar >> count;
    ar.CheckCount(count, kRecordBytes, "joint value records");
    m_arrData.resize(static_cast<size_t>(count));
  }
  for (TaV_JOINT_VALUES& record : m_arrData) {
    Exchange(ar, record.nJoint);
    ExchangeEach(ar, record.dValue);
  }
}

CString CTavJointMass::GetStringMass(int32_t record, TaV_REAL_PRECISION precision) const {
  return JoinNonZeroValues(GetData(record)->dValue, words::kMass, precision);
}

CString CTavJointDamping::GetStringDamping(int32_t record, TaV_REAL_PRECISION precision) const {
  return JoinNonZeroValues(GetData(record)->dValue, words::kDamper, precision);
}

}  // namespace tav
