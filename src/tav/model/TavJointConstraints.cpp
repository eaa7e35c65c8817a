#include "tav/model/TavJointConstraints.h"

#include "tav/model/Records.h"
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

namespace {

// Version 1 counts each list; version 0 fills the records already held.
template <typename Record>
void SerializeCount(CArchive& ar, int32_t version, std::vector<Record>& list, size_t minRecordBytes, const char* what) {
  if (ar.IsStoring()) {
    ar << static_cast<int32_t>(list.size());
  } else if (version >= 1) {
    int32_t count = 0;
    ar >> count;
    ar.CheckCount(count, minRecordBytes, what);
    list.resize(static_cast<size_t>(count));
  }
}

}  // namespace

void CTavJointConstraints::Serialize(CArchive& ar) {
  const int32_t version = SerializeVersion(ar, 1, "joint constraints");
  SerializeCount(ar, version, m_arrDiaphragm, 12, "diaphragms");
  for (TaV_DIAPHRAGM& d : m_arrDiaphragm) {
    Exchange(ar, d.nIndex, d.nMaster);
    d.arrSlave.Serialize(ar);
  }
  SerializeCount(ar, version, m_arrRigidLink, 16, "rigid links");
  for (TaV_RIGIDLINK& r : m_arrRigidLink) {
    Exchange(ar, r.nIndex, r.nType, r.nMaster);
    r.arrSlave.Serialize(ar);
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
