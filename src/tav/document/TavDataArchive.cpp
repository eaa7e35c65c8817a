// The document's archive record. Version 0 is the record documents have
// always had; version 1 keeps it item for item, tags each element group
// with its kind, and adds at the end everything version 0 leaves out. A
// load that fails, or reads a model that does not hold together, leaves the
// document as it was.
#include <memory>
#include <string>
#include <vector>

#include "tav/document/OldLayoutGroups.h"
#include "tav/document/TavData.h"
#include "tav/model/Records.h"

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
  if (ar.IsStoring()) {
    SerializeRecord(ar);
    return;
  }
  Load(ar, false);
}

// What a damaged or inconsistent archive must not leave behind is a
// half-read model: the writers, the result store and the host all trust
// the model they are given. So the model is kept aside and put back when
// reading or checking fails.
void CTavData::Load(CArchive& ar, bool recordEndsArchive) {
  const std::unique_ptr<CTavData> before = Copy();
  try {
    SerializeRecord(ar, recordEndsArchive);
    CString problem;
    if (Validate(&problem) == 0) throw ArchiveError(problem);
  } catch (...) {
    *this = std::move(*before);
    throw;
  }
}

std::unique_ptr<CTavData> CTavData::Copy() {
  CMemFile file;
  {
    CArchive out(&file, CArchive::store);
    SerializeRecord(out);
    out.Close();
  }
  file.SeekToBegin();
  auto copy = std::make_unique<CTavData>();
  CArchive in(&file, CArchive::load);
  copy->SerializeRecord(in);
  // What the record does not carry.
  copy->m_arrResultJoint = m_arrResultJoint;
  copy->m_arrResultBeam = m_arrResultBeam;
  copy->m_arrResultOther = m_arrResultOther;
  copy->m_own.lockInput = m_own.lockInput;
  return copy;
}

void CTavData::SerializeRecord(CArchive& ar, bool recordEndsArchive) {
  const int32_t version = SerializeVersion(ar, kDocumentVersion, "document");
  Exchange(ar, m_own.title);
  SerializeList(ar, m_arrJoint, kJointRecordBytes, "joints");
  SerializeList(ar, m_arrNLLink, kLinkRecordBytes, "nonlinear links");
  SerializeList(ar, m_arrLocalCoord, kLocalCoordRecordBytes, "local coordinate systems");
  SerializeEmptyList(ar, m_arrRigidLink, "rigid link array entries");
  SerializeEmptyList(ar, m_arrSpare, "spare array entries");
  if (ar.IsLoading() && version == 0) {
    LoadOldLayoutGroups(ar, recordEndsArchive);
  } else {
    SerializeGroups(ar);
  }
  SerializeCasesAndSettings(ar);
  if (version < 1) return;

  SerializeList(ar, m_arrBeam, kBeamRecordBytes, "beams");
  SerializeCombos(ar);
  m_pGlobalOption->Serialize(ar);
  m_pFunction->Serialize(ar);
  m_pConstraints->Serialize(ar);
  m_pJointMass->Serialize(ar);
  m_pJointDamping->Serialize(ar);
  Exchange(ar, m_own.midasVersion, m_own.midasStructType, m_own.midasMassOption);
}

// The items after the element groups that both layouts share.
void CTavData::SerializeCasesAndSettings(CArchive& ar) {
  SerializeList(ar, m_arrLoadStatic, kStaticRecordBytes, "static load cases");
  SerializeList(ar, m_arrLoadHistory, kHistoryRecordBytes, "history load cases");
  SerializeList(ar, m_arrLoadResponseSpectrum, kSpectrumRecordBytes, "response spectrum load cases");
  SerializeList(ar, m_arrLoadMoving, kMovingRecordBytes, "moving load cases");
  SerializeList(ar, m_arrJoint, kJointRecordBytes, "joints");  // stored twice, as documents always have
  Exchange(ar, m_own.setting1, m_own.resultMin, m_own.resultMax, m_own.setting2, m_own.setting3, m_own.jointType,
           m_own.viewOptionMode, m_own.setting4);
}

// Each group record is preceded by the group's kind, so a missing group is
// created of the right class.
void CTavData::SerializeGroups(CArchive& ar) {
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
    int32_t kind = 0;
    ar >> kind;
    if (at >= m_arrGroup.size()) {
      m_arrGroup.push_back(MakeGroup(kind, ar));
    } else if (m_arrGroup[at]->GetType() != kind) {
      m_arrGroup[at] = MakeGroup(kind, ar);
    }
    m_arrGroup[at]->m_nIndex = i;
    m_arrGroup[at]->Serialize(ar);
  }
  m_arrGroup.resize(static_cast<size_t>(count));
}

// The old layout tags no group with its kind and counts no spring group's
// entries: the groups this document holds keep theirs, the others are
// settled by reading ahead.
void CTavData::LoadOldLayoutGroups(CArchive& ar, bool recordEndsArchive) {
  int32_t count = 0;
  ar >> count;
  if (count < 0) return;
  ar.CheckCount(count, kGroupRecordBytes, "element groups");

  OldLayoutGroups layout;
  layout.groupCount = count;
  layout.joints = GetCountJoint();
  layout.links = GetCountNLLink();
  for (size_t i = 0; i < m_arrGroup.size() && i < static_cast<size_t>(count); ++i) {
    const CTavGroup& group = *m_arrGroup[i];
    const int32_t springs =
        group.GetType() == CTavGroup::kSpring ? static_cast<const CTavGroupSpring&>(group).GetCountSpring() : 0;
    layout.present.push_back({group.GetType(), springs});
  }
  layout.readRest = [](CArchive& rest) { CTavData().SerializeCasesAndSettings(rest); };
  layout.recordEndsArchive = recordEndsArchive;
  const uint64_t offset = ar.GetOffset();
  layout.bytes = ar.PeekRemaining();
  const std::vector<GroupReading> readings = SettleOldLayoutGroups(layout, offset);

  for (int32_t i = 0; i < count; ++i) {
    const auto at = static_cast<size_t>(i);
    const GroupReading& reading = readings[at];
    if (at >= m_arrGroup.size()) m_arrGroup.push_back(MakeGroup(reading.kind, ar));
    if (reading.kind == CTavGroup::kSpring) {
      static_cast<CTavGroupSpring&>(*m_arrGroup[at]).m_arrSpring.resize(static_cast<size_t>(reading.springs));
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
    fresh->Load(ar, true);
    if (ar.GetBytesLeft() != 0) {
      throw ArchiveError(std::to_string(ar.GetBytesLeft()) + " bytes follow the model at offset " +
                         std::to_string(ar.GetOffset()));
    }
  } catch (const std::runtime_error& failure) {
    if (error != nullptr) *error = "\"" + path + "\": " + failure.what();
    return 0;
  }
  const ObjectSettings settings = m_settings;
  *this = std::move(*fresh);
  m_settings = settings;
  return 1;
}

}  // namespace tav
