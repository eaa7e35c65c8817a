#include "tav/elements/TavGroupSpring.h"

#include "tav/model/OwnFormatWords.h"
#include "tav/model/Records.h"
#include "tav/model/TavText.h"

namespace tav {

void CTavSpringConstant::Init() {
  const int32_t number = m_nIndex;
  *this = CTavSpringConstant();
  m_nIndex = number;
}

// Version 1 adds the degree-of-freedom flag.
void CTavSpringConstant::Serialize(CArchive& ar) {
  const int32_t version = SerializeVersion(ar, 1, "spring constant");
  // The three values of each degree of freedom stand together.
  Exchange(ar, m_nIndex);
  for (int i = 0; i < 6; ++i) Exchange(ar, m_dStiffness[i], m_dSpringAux1[i], m_dSpringAux2[i]);
  if (version >= 1) Exchange(ar, m_bMultiDof);
}

// Only the three translations have a place in the Sap spring statement.
CString CTavSpringConstant::GetStringValue_Sap() const {
  CString text;
  for (int i = 0; i < 3; ++i) {
    if (m_dStiffness[i] == 0.0) continue;
    if (!text.empty()) text += ' ';
    text += words::kBeamDof[static_cast<size_t>(i)];
    text += '=';
    text += GetRealText(m_dStiffness[i]);
  }
  return text;
}

// Version 1 writes the spring count before the entries. A version-0 record
// has none, so its entries fill the springs the group already holds.
void CTavGroupSpring::Serialize(CArchive& ar) {
  constexpr size_t kConstantRecordBytes = 152;
  constexpr size_t kSpringRecordBytes = 12;
  const int32_t version = SerializeVersion(ar, 1, "spring group");
  SerializeOwned(ar, m_arrSpringConstant, kConstantRecordBytes, "spring constants");
  if (ar.IsStoring()) {
    ar << GetCountSpring();
  } else if (version >= 1) {
    int32_t count = 0;
    ar >> count;
    ar.CheckCount(count, kSpringRecordBytes, "springs");
    m_arrSpring.resize(static_cast<size_t>(count));
  }
  for (TaV_SPRING& spring : m_arrSpring) Exchange(ar, spring.nIndex, spring.nConstant, spring.nJoint);
}

CTavSpringConstant* CTavGroupSpring::AddSpringConstants(double k1, double k2, double k3) {
  auto constant = std::make_unique<CTavSpringConstant>();
  constant->m_nIndex = GetCountSpingConstant();
  constant->m_dStiffness[0] = k1;
  constant->m_dStiffness[1] = k2;
  constant->m_dStiffness[2] = k3;
  constant->m_bMultiDof = 0;
  m_arrSpringConstant.push_back(std::move(constant));
  return m_arrSpringConstant.back().get();
}

int32_t CTavGroupSpring::AddSpring(int32_t constant, int32_t joint) {
  const int32_t number = GetCountSpring();
  m_arrSpring.push_back(TaV_SPRING{number, constant, joint});
  return number;
}

}  // namespace tav
