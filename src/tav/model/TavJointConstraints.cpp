#include "tav/model/TavJointConstraints.h"

#include "tav/platform/Format.h"

namespace tav {

int32_t CTavJointConstraints::AddDiaphragm(int32_t master, const CLongArray& slaves) {
  TaV_DIAPHRAGM diaphragm;
  diaphragm.nIndex = GetCountDiaphragm();
  diaphragm.nMaster = master;
  diaphragm.arrSlave = slaves;
  m_arrDiaphragm.push_back(std::move(diaphragm));
  return m_arrDiaphragm.back().nIndex;
}

int32_t CTavJointConstraints::AddRigidLink(int32_t type, int32_t master, const CLongArray& slaves) {
  TaV_RIGIDLINK link;
  link.nIndex = GetCountRigidLink();
  link.nType = type;
  link.nMaster = master;
  link.arrSlave = slaves;
  m_arrRigidLink.push_back(std::move(link));
  return m_arrRigidLink.back().nIndex;
}

void CTavJointConstraints::ClearData() {
  m_arrDiaphragm.clear();
  m_arrRigidLink.clear();
}

void CTavJointConstraints::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << int32_t{0};
    for (TaV_DIAPHRAGM& d : m_arrDiaphragm) {
      ar << d.nIndex << d.nMaster;
      d.arrSlave.Serialize(ar);
    }
    for (TaV_RIGIDLINK& r : m_arrRigidLink) {
      ar << r.nIndex << r.nType << r.nMaster;
      r.arrSlave.Serialize(ar);
    }
  } else {
    int32_t version = 0;
    ar >> version;
    for (TaV_DIAPHRAGM& d : m_arrDiaphragm) {
      ar >> d.nIndex >> d.nMaster;
      d.arrSlave.Serialize(ar);
    }
    for (TaV_RIGIDLINK& r : m_arrRigidLink) {
      ar >> r.nIndex >> r.nType >> r.nMaster;
      r.arrSlave.Serialize(ar);
    }
  }
}

CString CTavJointConstraints::GetStringJointList(const CLongArray& joints) {
  CString text;
  for (int32_t joint : joints) {
    if (!text.empty()) text += ' ';
    text += Format("%d", joint + 1);
  }
  return text;
}

}  // namespace tav
