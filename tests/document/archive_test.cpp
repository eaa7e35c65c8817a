#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

#include "support/Fixtures.h"
#include "support/Golden.h"
#include "support/Models.h"
#include "support/Records.h"
#include "support/TempDir.h"
#include "tav/document/TavData.h"

namespace tav {
namespace {

// Every class and every field a host can set.
void BuildEverything(CTavData& doc) {
  test::BuildExchangeModel(doc);
  doc.SetTitle("ARCHIVE 모델");
  doc.SetMidasVersion("7.2.0");
  doc.SetMidasStructType(0);
  doc.SetMidasMassOption(1);
  doc.SetJointType(3);
  doc.SetViewOptionMode(0x1234);
  for (int s = 1; s <= 4; ++s) doc.SetSetting(s, 40 + s);
  CTavGlobalOption& options = *doc.GetGlobalOption();
  options.m_nEigenMethod = 2;
  options.m_nEigenRange = 1;
  options.m_nModes = 12;
  options.m_nSubspaceVectors = 24;
  options.m_nIterations = 16;
  options.m_bRigidBodyMode = 1;
  options.m_nRigidBodyShift = -3;
  options.m_dCutOffFrequency = 0.5;
  options.m_dTolerance = 1e-6;
  options.m_bLanczosVectors = 1;
  options.m_nStartingVectors = 3;
  options.m_Check.byFlags = 0xC5;
  options.m_bInitTemperature = 1;
  options.m_bInitTemperatureGradient = 1;
  options.m_nForceSegments = 6;
  const int32_t sine = doc.GetFunction()->AddFunction(TaV_FUNCTION_SINUSOIDAL, 0.5, 2.0);
  doc.GetFunction()->AddFunctionValue(sine, 0.1, -0.2);
  doc.AddJointConstraintDiap(4, CString("1 2"));
  doc.GetConstraint()->AddRigidLink(1, 0, CLongArray{3});
  doc.AddJointMass(3, 1, 2, 3, 4, 5, 6);
  doc.AddJointDamping(1, 0.5, 0, 0, 0, 0, 0.25);
  doc.GetJoint(2)->m_nReserved = 17;

  CTavLoadHistory* history = doc.GetHistoryLoad(0);
  history->AddLoadHistory_DYNAMIC_ANALYSYS(TaV_MODE_SUPERPOSITION, TaV_METHOD_NEWMARK_BETA, 6, 2000, 0.005, "0.25 0.5");
  history->AddLoadStatic_Joint(3, 0, 1.5, 0, 0, 0, 0, 1);
  history->AddLoadStatic_BEAMLOAD_DIST_W1W2(2, TaV_DIR_X, 1, 2, 0, 1, 1, 0);
  history->AddSelfWeight(TaV_DIR_X, 1, 9.81, 1);
  CTavLoadResponseSpectrum* spectrum = doc.GetResponseSpectrum(0);
  spectrum->AddLoadResponseSpectrum_Combination(0, 8, TaV_MODECOMB_CQC, "0.05 0.02");
  spectrum->AddSelfWeight(TaV_DIR_Y, 1.5, 9.81, 1);
  doc.AddLoadResponseSpectrum("NO EXCITATION")->Destroy();
  doc.GetMovingLoad(0)->AddMovingLoad_Lane(0, 1, 0.5, -0.5);
  doc.CalcMaxMin_Beam(0, TaV_FORCE_1);  // a stored range
}

std::string WriteFile(const test::TempDir& dir, const std::vector<uint8_t>& bytes) {
  return test::WriteFileBytes(dir.File("model.tva"), bytes);
}

TEST(ArchiveTest, ARestoredModelWritesTheSameFiles) {
  CTavData original;
  BuildEverything(original);
  test::TempDir dir;
  const std::string path = dir.File("model.tva");
  std::ofstream(path) << "previous";  // replaced whole
  CString error;
  EXPECT_EQ(original.StoreArchive(dir.File("no/such/dir/x.tva"), &error), 0);
  EXPECT_FALSE(error.empty());
  ASSERT_EQ(original.StoreArchive(path, &error), 1) << error;
  CTavData restored;
  ASSERT_EQ(restored.LoadArchive(path, &error), 1) << error;

  for (TaV_INPUT_FORMAT format : {TaV_FORMAT_TAV, TaV_FORMAT_SAP, TaV_FORMAT_MIDAS}) {
    EXPECT_EQ(test::SaveToString(restored, format), test::SaveToString(original, format)) << format;
  }
  EXPECT_EQ(test::StoreRecord(restored), test::StoreRecord(original));
  // What no writer shows.
  const auto unwritten = [](CTavData& doc) {
    return std::make_tuple(doc.GetJoint(2)->m_nReserved, doc.GetViewOptionMode(), doc.GetJointType(), doc.GetSetting(4),
                           doc.GetResultMin(), doc.GetCombo(1)->GetLoad(2)->dFactor2,
                           doc.GetJointDamping()->GetData(0)->dValue[5], doc.GetResponseSpectrum(1)->IsSelfWeight(),
                           doc.GetCountResponseSpectrumLoad());
  };
  EXPECT_EQ(unwritten(restored), unwritten(original));
}

TEST(ArchiveTest, StoringBeginsWithVersionOneAndTagsGroups) {
  CTavData doc;
  doc.AddGroupNllink();
  const auto bytes = test::StoreRecord(doc);
  const auto expectedStart = test::Bytes([](CArchive& ar) {
    ar << int32_t{1} << CString("");
    for (int list = 0; list < 5; ++list) ar << int32_t{0};  // joints, links, systems, two empty lists
    ar << int32_t{1} << int32_t{2};                         // one group, of kind 2
  });
  ASSERT_GE(bytes.size(), expectedStart.size());
  EXPECT_TRUE(std::equal(expectedStart.begin(), expectedStart.end(), bytes.begin()));
}

// The empty document's version-0 record with settings of its own.
TEST(ArchiveTest, EmptyVersionZeroDocumentAndTheFileAroundIt) {
  const auto bytes = test::Bytes([](CArchive& ar) {
    ar << int32_t{0} << CString("");
    for (int list = 0; list < 11; ++list) ar << int32_t{0};
    ar << int32_t{11} << -3.5 << 7.25 << int32_t{5} << int32_t{6} << int32_t{2} << int32_t{0x1234} << int32_t{9};
  });
  CTavData doc;
  doc.GetFunction()->AddFunctionDefault();
  doc.AddCombo("KEPT", TaV_COMBO_ADD);
  EXPECT_EQ(test::LoadRecord(bytes, doc), 0U);
  EXPECT_EQ(doc.GetCountJoint(), 0);
  EXPECT_EQ(std::make_tuple(doc.GetSetting(1), doc.GetResultMin(), doc.GetResultMax(), doc.GetSetting(2),
                            doc.GetSetting(3), doc.GetJointType(), doc.GetViewOptionMode(), doc.GetSetting(4)),
            std::make_tuple(11, -3.5, 7.25, 5, 6, 2, 0x1234, 9));
  // Not in a version-0 record: untouched.
  EXPECT_EQ(std::tuple(doc.GetFunction()->GetCount(), doc.GetCountComboLoad()), std::tuple(1, 1));

  test::TempDir dir;
  CTavData fresh;
  EXPECT_EQ(fresh.LoadArchive(WriteFile(dir, bytes)), 1);
  EXPECT_EQ(fresh.GetViewOptionMode(), 0x1234);

  // A byte more, or another version, is refused with what is wrong; so is a missing file.
  auto trailing = bytes;
  trailing.push_back(0);
  auto version7 = bytes;
  version7[0] = 7;
  CString error;
  for (const auto& [damaged, message] : {std::pair{trailing, "bytes follow"}, {version7, "version 7"}}) {
    EXPECT_EQ(fresh.LoadArchive(WriteFile(dir, damaged), &error), 0);
    EXPECT_NE(error.find(message), CString::npos) << error;
  }
  EXPECT_EQ(fresh.LoadArchive(dir.File("missing.tva"), &error), 0);
}

// A version-0 record from the title to the end: joints, a link, a local
// system, the element groups `groups` writes (their count first), load
// cases of every kind (the moving case's lane on beam 1 when `lane`).
template <typename Groups>
std::vector<uint8_t> VersionZero(Groups groups, bool lane) {
  return test::Bytes([&groups, lane](CArchive& ar) {
    const auto joints = [&ar] {
      ar << int32_t{2};
      ar << int32_t{0} << int32_t{0} << 0.0 << 0.0 << 0.0 << int32_t{0} << int32_t{-1};
      ar << int32_t{0} << int32_t{1} << 4.0 << 0.0 << 3.0 << int32_t{0} << int32_t{0};
    };
    ar << int32_t{0} << CString("OLD");
    joints();
    ar << int32_t{1} << int32_t{0} << int32_t{0} << int32_t{0} << int32_t{1} << int32_t{0} << 15.0;  // link
    ar << int32_t{1} << int32_t{0} << int32_t{0} << 30.0 << 0.0 << 0.0;                              // system
    ar << int32_t{0} << int32_t{0};                                                                  // empty lists
    groups(ar);
    ar << int32_t{1} << int32_t{0} << int32_t{0} << CString("DL") << int32_t{1};  // static case
    ar << int32_t{1} << int32_t{0} << int32_t{1} << 0.0 << 0.0 << -10.0 << 0.0 << 0.0 << 0.0 << int32_t{0};
    ar << int32_t{0} << int32_t{0};
    ar << int32_t{1} << int32_t{0} << int32_t{0} << 100.0 << 0.01 << int32_t{1} << int32_t{1} << int32_t{0}
       << int32_t{4} << int32_t{1} << 1.4;  // history case
    ar << int32_t{1} << int32_t{0} << int32_t{0} << CString("RS") << int32_t{2} << int32_t{1} << 0.05;
    ar << int32_t{1} << int32_t{0} << int32_t{0} << CString("TRUCK") << int32_t{lane ? 1 : 0};
    if (lane) ar << int32_t{0} << int32_t{0} << int32_t{0} << 0.5 << -0.5;
    joints();
    ar << int32_t{10} << 1.0e10 << -1.0e10 << int32_t{2} << int32_t{0} << int32_t{1} << int32_t{0xFCFF} << int32_t{1};
  });
}

void OldBeamGroup(CArchive& ar, std::initializer_list<int32_t> beams) {
  ar << int32_t{0} << int32_t{1};                // one section
  ar << int32_t{0} << int32_t{0} << int32_t{1};  // section: version, number, rectangle
  for (int i = 0; i < 15; ++i) ar << (i == 0 ? 0.3 : i == 1 ? 0.5 : i == 5 ? 2.1e7 : 0.0);
  ar << static_cast<int32_t>(beams.size());
  for (int32_t beam : beams) ar << beam;
}

void OldLinkGroup(CArchive& ar) {
  ar << int32_t{0} << int32_t{1} << int32_t{0} << int32_t{0} << 5e4 << 0.0 << 0.0 << 0.0;  // one property
  ar << int32_t{1} << int32_t{0};                                                          // link 1
}

// Two constants, then `springs` entries on joints 1 and 2 alternately; the
// old layout does not count them.
void OldSpringGroup(CArchive& ar, int32_t springs) {
  ar << int32_t{0} << int32_t{2};
  for (int32_t c = 0; c < 2; ++c) {
    ar << int32_t{0} << c;
    for (int i = 0; i < 18; ++i) ar << (i == 0 ? 1000.0 * (c + 1) : 0.0);
  }
  for (int32_t s = 0; s < springs; ++s) ar << s << int32_t{s % 2} << int32_t{s % 2};
}

TEST(ArchiveTest, VersionZeroModelReadsIntoTheGroupsPresent) {
  const auto bytes = VersionZero(
      [](CArchive& ar) {
        ar << int32_t{2};
        OldBeamGroup(ar, {0});
        OldLinkGroup(ar);
      },
      true);
  CTavData doc;
  for (int i = 0; i < 5; ++i) doc.AddJoint(9, 9, 9, true, true, true, false, false, false, -1);
  CTavGroupElement* present = doc.AddGroupElement();
  present->AddSection_Rect(1, 1, 1);
  doc.AddBeam(present, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0);  // the old layout stores no beams
  doc.AddGroupNllink();
  doc.AddGroupNllink();
  EXPECT_EQ(test::LoadRecord(bytes, doc), 0U);
  ASSERT_EQ(
      std::tuple(doc.GetCountJoint(), doc.GetCountNLLink(), doc.GetCountLinearGroup(), doc.GetCountNonLinearGroup()),
      std::tuple(2, 1, 1, 1));
  // A reused joint keeps its restraints.
  EXPECT_EQ(std::tuple(doc.GetTitle(), doc.GetJoint(1)->m_vPos, doc.GetJoint(1)->m_Restraint.byFlags,
                       doc.GetNLLink(0)->m_dAngle, doc.GetLocalCoord(0)->m_dAngle[0]),
            std::tuple("OLD", CVector(4, 0, 3), 0x07, 15.0, 30.0));
  const auto* beams = static_cast<CTavGroupElement*>(doc.GetGroup(0));
  const auto* links = static_cast<CTavGroupNllink*>(doc.GetGroup(1));
  EXPECT_EQ(std::tuple(beams->GetSection(0)->m_dDim[1], beams->m_arrBeam, links->GetNllinkConstant(0)->m_dK0),
            std::tuple(0.5, CLongArray{0}, 5e4));
  EXPECT_EQ(std::tuple(doc.GetStaticLoad(0)->m_strName, doc.GetStaticLoad(0)->GetLoadJoint(0)->m_dValue[2],
                       doc.GetHistoryLoad(0)->m_arrParameter, doc.GetResponseSpectrum(0)->m_strName,
                       doc.GetMovingLoad(0)->GetLane(0)->m_dEcc2),
            std::tuple("DL", -10.0, CDoubleArray{1.4}, "RS", -0.5));
}

TEST(ArchiveTest, VersionZeroGroupsOpenIntoANewDocument) {
  const auto bytes = VersionZero(
      [](CArchive& ar) {
        ar << int32_t{3};
        OldSpringGroup(ar, 3);
        OldBeamGroup(ar, {});
        OldLinkGroup(ar);
      },
      false);
  test::TempDir dir;
  CTavData doc;
  CString error;
  ASSERT_EQ(doc.LoadArchive(WriteFile(dir, bytes), &error), 1) << error;
  ASSERT_EQ(std::tuple(doc.GetGroup(0)->GetType(), doc.GetGroup(1)->GetType(), doc.GetGroup(2)->GetType()),
            std::tuple(CTavGroup::kSpring, CTavGroup::kBeam, CTavGroup::kLink));
  const auto& springs = static_cast<const CTavGroupSpring&>(*doc.GetGroup(0));
  ASSERT_EQ(springs.GetCountSpring(), 3);
  EXPECT_EQ(
      std::tuple(springs.GetSpring(2)->nJoint, springs.GetSpingConstant(1)->m_dStiffness[0],
                 static_cast<CTavGroupElement*>(doc.GetGroup(1))->GetSection(0)->m_dE, doc.GetGroup(2)->GetIndex()),
      std::tuple(0, 2000.0, 2.1e7, 2));
  EXPECT_NE(test::SaveToString(doc, TaV_FORMAT_TAV).find("SUPPORT SPRING GROUP 1 NUMBER OF ELEMENTS=3"),
            std::string::npos);
}

TEST(ArchiveTest, VersionZeroGroupsThatCannotBeSettledAreRefused) {
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    int heldSprings;  // a spring group the reading document holds, with this many springs; -1 for none
    const char* message;
  };
  const Case cases[] = {
      {"spring count differs", VersionZero([](CArchive& ar) { ar << int32_t{1}, OldSpringGroup(ar, 3); }, false), 1,
       "element group 1 holds 3 springs in the archive but 1 in the document"},
      {"empty group",
       VersionZero([](CArchive& ar) { ar << int32_t{1} << int32_t{0} << int32_t{0} << int32_t{0}; }, false), -1,
       "more than one way"},
      {"beams the old layout does not store",
       VersionZero([](CArchive& ar) { ar << int32_t{1}, OldBeamGroup(ar, {0}); }, false), -1,
       "element group 1: lists beam 1, which does not exist (the model has 0 beams)"},
  };
  test::TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CTavData doc;
    if (c.heldSprings >= 0) {
      CTavGroupSpring* held = doc.AddGroupSpringConstants();
      held->AddSpringConstants(1, 0, 0);
      for (int s = 0; s < c.heldSprings; ++s) held->AddSpring(0, 0);
    }
    const auto before = test::StoreRecord(doc);
    CString refused;
    try {
      test::LoadRecord(c.bytes, doc);
    } catch (const ArchiveError& error) {
      refused = error.what();
    }
    EXPECT_NE(refused.find(c.message), CString::npos) << refused;
    EXPECT_EQ(test::StoreRecord(doc), before);
    if (c.heldSprings >= 0) continue;  // a new document has no springs to match
    EXPECT_EQ(doc.LoadArchive(WriteFile(dir, c.bytes), &refused), 0);
    EXPECT_NE(refused.find(c.message), CString::npos) << refused;
    EXPECT_EQ(test::StoreRecord(doc), before);
  }
}

// Loads `bytes` into a document holding a small model; a failed load must
// leave it exactly as it was.
int LoadOver(const test::TempDir& dir, const std::vector<uint8_t>& bytes, CTavData& doc) {
  const auto before = test::StoreRecord(doc);
  const int result = doc.LoadArchive(WriteFile(dir, bytes));
  if (result == 0) {
    EXPECT_EQ(test::StoreRecord(doc), before);
  }
  return result;
}

TEST(ArchiveTest, EveryTruncationFailsAndLeavesTheModel) {
  CTavData original;
  BuildEverything(original);
  const auto bytes = test::StoreRecord(original);
  test::TempDir dir;
  for (size_t length = 0; length < bytes.size(); ++length) {
    CTavData doc;
    test::BuildSmallFrame(doc, "LC");
    const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
    ASSERT_EQ(LoadOver(dir, cut, doc), 0) << length;
  }
}

// Any 4-byte value of a stored model overwritten with an impossible number:
// either the load fails and the document is as it was, or the model read
// can be written in every format and given result buffers.
TEST(ArchiveTest, ImpossibleNumbersAnywhereFailOrGiveAUsableModel) {
  CTavData original;
  BuildEverything(original);
  const auto bytes = test::StoreRecord(original);
  test::TempDir dir;
  int failures = 0;
  int loads = 0;
  for (const uint32_t value : {0x7FFFFFFFU, 0xFFFFFFFFU}) {
    for (size_t at = 0; at + 4 <= bytes.size(); ++at) {
      auto corrupt = bytes;
      for (size_t i = 0; i < 4; ++i) corrupt[at + i] = static_cast<uint8_t>(value >> (8 * i));
      CTavData doc;
      test::BuildSmallFrame(doc, "LC");
      if (LoadOver(dir, corrupt, doc) == 0) {
        ++failures;
        continue;
      }
      ++loads;
      for (TaV_INPUT_FORMAT format : {TaV_FORMAT_TAV, TaV_FORMAT_SAP, TaV_FORMAT_MIDAS}) {
        EXPECT_EQ(doc.Save(dir.File("written"), format), 1) << at;
      }
      doc.AllocResultForceBuff();
      EXPECT_EQ(doc.GetResultValue_Beam_Force(0, 0, 0, TaV_FORCE_1), 0.0) << at;
    }
  }
  EXPECT_GT(failures, 0);
  EXPECT_GT(loads, 0);
}

}  // namespace
}  // namespace tav
