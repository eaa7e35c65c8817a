// The document's archive record. Version 0 is the record documents have
// always had; version 1 keeps it item for item, tags each element group
// with its kind, and adds at the end everything version 0 leaves out.
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tav/model/Records.h"
#include "tav/model/TavData.h"

namespace tav {
namespace {

constexpr int32_t kDocumentVersion = 1;

// The smallest record of each kind, to refuse counts the archive cannot hold.
constexpr size_t kJointRecordBytes = 40;
constexpr size_t kLinkRecordBytes = 28;
constexpr size_t kLocalCoordRecordBytes = 32;
constexpr size_t kGroupRecordBytes = 8;
constexpr size_t kStaticRecordBytes = 25;
constexpr size_t kHistoryRecordBytes = 44;
constexpr size_t kSpectrumRecordBytes = 17;
constexpr size_t kMovingRecordBytes = 13;
constexpr size_t kBeamRecordBytes = 60;
constexpr size_t kComboRecordBytes = 9;
constexpr size_t kComboTermBytes = 24;

// A list of the document: a negative count read leaves it as it is and
// reads no records; otherwise it is made exactly that long, reusing the
// objects present, and each object reads its record.
template <typename T>
void SerializeList(CArchive& ar, std::vector<std::unique_ptr<T>>& list, size_t minRecordBytes, const char* what) {
  if (ar.IsStoring()) {
    SerializeOwned(ar, list, minRecordBytes, what);
    return;
  }
  int32_t count = 0;
  ar >> count;
  if (count < 0) return;
  ar.CheckCount(count, minRecordBytes, what);
  ResizeOwned(list, count);
  for (auto& object : list) object->Serialize(ar);
}

// The two lists that no operation fills hold objects of no known class;
// only their count (always 0) can be stored or read.
void SerializeEmptyList(CArchive& ar, const std::vector<std::unique_ptr<CObject>>& list, const char* what) {
  if (ar.IsStoring()) {
    ar << static_cast<int32_t>(list.size());
    return;
  }
  int32_t count = 0;
  ar >> count;
  if (count > 0) {
    throw ArchiveError(std::string("the archive holds ") + std::to_string(count) + " " + what +
                       ", whose records cannot be read");
  }
}

std::unique_ptr<CTavGroup> MakeGroup(int32_t kind, const CArchive& ar) {
  switch (kind) {
    case CTavGroup::kBeam:
      return std::make_unique<CTavGroupElement>();
    case CTavGroup::kSpring:
      return std::make_unique<CTavGroupSpring>();
    case CTavGroup::kLink:
      return std::make_unique<CTavGroupNllink>();
    default:
      throw ArchiveError("unknown element group kind " + std::to_string(kind) + " at offset " +
                         std::to_string(ar.GetOffset() - 4));
  }
}

}  // namespace

void CTavData::Serialize(CArchive& ar) {
  const int32_t version = SerializeVersion(ar, kDocumentVersion, "document");
  if (ar.IsStoring()) {
    ar << m_strTitle;
  } else {
    ar >> m_strTitle;
  }
  SerializeList(ar, m_arrJoint, kJointRecordBytes, "joints");
  SerializeList(ar, m_arrNLLink, kLinkRecordBytes, "nonlinear links");
  SerializeList(ar, m_arrLocalCoord, kLocalCoordRecordBytes, "local coordinate systems");
  SerializeEmptyList(ar, m_arrRigidLink, "rigid link array entries");
  SerializeEmptyList(ar, m_arrSpare, "spare array entries");
  SerializeGroups(ar, version);
  SerializeList(ar, m_arrLoadStatic, kStaticRecordBytes, "static load cases");
  SerializeList(ar, m_arrLoadHistory, kHistoryRecordBytes, "history load cases");
  SerializeList(ar, m_arrLoadResponseSpectrum, kSpectrumRecordBytes, "response spectrum load cases");
  SerializeList(ar, m_arrLoadMoving, kMovingRecordBytes, "moving load cases");
  SerializeList(ar, m_arrJoint, kJointRecordBytes, "joints");  // stored twice, as documents always have
  if (ar.IsStoring()) {
    ar << m_nSetting1 << m_dResultMin << m_dResultMax << m_nSetting2 << m_nSetting3 << m_nJointType << m_nViewOptionMode
       << m_nSetting4;
  } else {
    ar >> m_nSetting1 >> m_dResultMin >> m_dResultMax >> m_nSetting2 >> m_nSetting3 >> m_nJointType >>
        m_nViewOptionMode >> m_nSetting4;
  }
  if (version < 1) return;

  SerializeList(ar, m_arrBeam, kBeamRecordBytes, "beams");
  SerializeCombos(ar);
  m_pGlobalOption->Serialize(ar);
  m_pFunction->Serialize(ar);
  m_pConstraints->Serialize(ar);
  m_pJointMass->Serialize(ar);
  m_pJointDamping->Serialize(ar);
  if (ar.IsStoring()) {
    ar << m_strMidasVersion << m_nMidasStructType << m_nMidasMassOption;
  } else {
    ar >> m_strMidasVersion >> m_nMidasStructType >> m_nMidasMassOption;
  }
}

// Version 1 tags each group record with the group's kind, so a missing
// group is created of the right class. Version 0 has no tag: a group the
// document already holds reads its record as its own class; a group
// beyond those cannot be told apart (the records of an empty beam group and
// an empty link group are the same bytes), so the load ends there.
void CTavData::SerializeGroups(CArchive& ar, int32_t version) {
  if (ar.IsStoring()) {
    ar << Count(m_arrGroup);
    for (auto& group : m_arrGroup) {
      ar << group->GetType();
      group->Serialize(ar);
    }
    return;
  }
  int32_t count = 0;
  ar >> count;
  if (count < 0) return;
  ar.CheckCount(count, kGroupRecordBytes, "element groups");
  for (int32_t i = 0; i < count; ++i) {
    const auto at = static_cast<size_t>(i);
    if (version >= 1) {
      int32_t kind = 0;
      ar >> kind;
      if (at >= m_arrGroup.size()) {
        m_arrGroup.push_back(MakeGroup(kind, ar));
      } else if (m_arrGroup[at]->GetType() != kind) {
        m_arrGroup[at] = MakeGroup(kind, ar);
      }
    } else if (at >= m_arrGroup.size()) {
      throw ArchiveError("element group " + std::to_string(i + 1) + " at offset " + std::to_string(ar.GetOffset()) +
                         ": a version-0 archive does not say which kind of group it is");
    }
    m_arrGroup[at]->m_nIndex = i;
    m_arrGroup[at]->Serialize(ar);
  }
  m_arrGroup.resize(static_cast<size_t>(count));
}

// Each combination: name, type, term count, then kind, case and the two
// factors of each term.
void CTavData::SerializeCombos(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << Count(m_arrCombo);
  } else {
    int32_t count = 0;
    ar >> count;
    ar.CheckCount(count, kComboRecordBytes, "combinations");
    ResizeOwned(m_arrCombo, count);
  }
  for (auto& combo : m_arrCombo) {
    if (ar.IsStoring()) {
      ar << combo->m_strName << combo->m_eType << combo->GetCountLoad();
      for (const TaV_COMBO_DATA& term : combo->m_arrLoad)
        ar << term.eType << term.nCase << term.dFactor << term.dFactor2;
      continue;
    }
    int32_t terms = 0;
    ar >> combo->m_strName >> combo->m_eType >> terms;
    ar.CheckCount(terms, kComboTermBytes, "combination terms");
    combo->m_arrLoad.assign(static_cast<size_t>(terms), TaV_COMBO_DATA{});
    for (TaV_COMBO_DATA& term : combo->m_arrLoad) ar >> term.eType >> term.nCase >> term.dFactor >> term.dFactor2;
  }
}

int CTavData::StoreArchive(const CString& path, CString* error) {
  try {
    CReplacingFile replacing(path);
    CFile file;
    CString reason;
    if (!file.Open(replacing.TemporaryPath(), CFile::modeCreate | CFile::modeWrite, &reason)) throw FileError(reason);
    CArchive ar(&file, CArchive::store);
    Serialize(ar);
    ar.Close();
    file.Close();
    replacing.Commit();
  } catch (const std::runtime_error& failure) {
    if (error != nullptr) *error = failure.what();
    return 0;
  }
  return 1;
}

int CTavData::LoadArchive(const CString& path, CString* error) {
  CFile file;
  CString reason;
  if (!file.Open(path, CFile::modeRead, &reason)) {
    if (error != nullptr) *error = "cannot open \"" + path + "\": " + reason;
    return 0;
  }
  auto fresh = std::make_unique<CTavData>();
  try {
    CArchive ar(&file, CArchive::load);
    fresh->Serialize(ar);
    if (ar.GetBytesLeft() != 0) {
      throw ArchiveError(std::to_string(ar.GetBytesLeft()) + " bytes follow the model at offset " +
                         std::to_string(ar.GetOffset()));
    }
  } catch (const std::runtime_error& failure) {
    if (error != nullptr) *error = "\"" + path + "\": " + failure.what();
    return 0;
  }
  *this = std::move(*fresh);
  return 1;
}

}  // namespace tav
