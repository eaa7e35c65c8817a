// The model document: the one object through which a host builds, queries
// and writes a structural model of a frame.
//
// CTavData owns every model object (joints, beams, links, local coordinate
// systems, element groups, load cases, combinations), five companions
// (analysis options, function table, joint constraints, joint masses, joint
// dampers) and the result buffers. Every object is numbered by its 0-based
// position in the list that holds it. Getters hand out borrowed pointers that
// stay valid until ClearData, Destroy or destruction. Accessors by number do
// not check their argument and creation operations store numbers unchecked:
// the host keeps them consistent.
#pragma once

#include <cstdarg>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "tav/document/TavModalResults.h"
#include "tav/document/TavResponseResults.h"
#include "tav/elements/TavGroupElement.h"
#include "tav/elements/TavGroupNllink.h"
#include "tav/elements/TavGroupSpring.h"
#include "tav/loads/TavCombo.h"
#include "tav/loads/TavLoadHistory.h"
#include "tav/loads/TavLoadMoving.h"
#include "tav/loads/TavLoadResponseSpectrum.h"
#include "tav/loads/TavLoadStatic.h"
#include "tav/model/TavFunction.h"
#include "tav/model/TavGlobalOption.h"
#include "tav/model/TavJoint.h"
#include "tav/model/TavJointConstraints.h"
#include "tav/model/TavJointValues.h"
#include "tav/model/TavLocalCoord.h"
#include "tav/model/TavTypes.h"
#include "tav/model/Vector.h"
#include "tav/platform/Archive.h"
#include "tav/platform/Object.h"
#include "tav/platform/String.h"

namespace tav {

class CTavData : public CObject {
 public:
  CTavData();
  ~CTavData() override;
  CTavData(const CTavData&) = delete;
  CTavData& operator=(const CTavData&) = delete;

  // ---- Lifecycle -------------------------------------------------------
  // Creates the companions (replacing any present) and sets every default.
  void Init();
  // Empties the model; the title and the other settings stay.
  void ClearData();
  // ClearData, then deletes the companions; only destruction may follow.
  void Destroy();

  // ---- Model archive -----------------------------------------------------
  // Stores the model (version 1 of the document record: everything a host
  // can set) or loads it. Loading reads version 0 or 1 into the objects
  // present, trimming or extending each list; it is not cleared first. The
  // model read is then checked (Validate). A short or damaged archive, or a
  // model that does not hold together, throws ArchiveError saying what is
  // wrong and where, and leaves the model as it was before the call (its
  // objects may have been replaced by equal ones: borrowed pointers become
  // invalid then). Other exceptions of the archive's file pass through the
  // same way.
  void Serialize(CArchive& ar) override;
  // Writes the archive to `path` through a temporary file that replaces it
  // only when complete. 1 on success; 0 otherwise, with the reason in
  // `error` when given.
  int StoreArchive(const CString& path, CString* error = nullptr);
  // Reads the archive at `path` into a fresh document and takes its content
  // only when the whole file was read and the model holds together, so a
  // failed load leaves this model as it was. Borrowed pointers of this document become invalid on
  // success. 1 on success; 0 otherwise, with the reason in `error`.
  int LoadArchive(const CString& path, CString* error = nullptr);

  // Checks that the model holds together: every number it stores names an
  // object that exists (joints of beams, links, springs, constraints,
  // masses, dampers and loads; local systems of joints; sections, spring
  // constants and link properties within their groups; beams of beam loads
  // and lanes; functions of loads and excitations; cases and combinations
  // of combination terms), every object carries its own position as its
  // number, every beam and link belongs to exactly one group of its kind,
  // every function has as many ordinates as abscissas, and the force
  // segments per beam lie within 1 to 1000. The writers, the result store
  // and the readers of results rely on these. Models built through the
  // creation operations with numbers that exist always pass. Returns 1 when
  // the model holds together; 0 otherwise, with the first problem found in
  // `problem` when given (objects named by their numbers counted from 1, as
  // the solver input files name them).
  int Validate(CString* problem = nullptr) const;
  static constexpr int32_t kMaxForceSegments = 1000;

  // ---- Document settings -----------------------------------------------
  void SetTitle(const CString& title) { m_own.title = title; }
  const CString& GetTitle() const { return m_own.title; }
  int IsLockInput() const { return m_own.lockInput; }
  void LockInput() { m_own.lockInput = 1; }
  void UnlockInput() { m_own.lockInput = 0; }
  int32_t GetJointType() const { return m_own.jointType; }
  void SetJointType(int32_t type) { m_own.jointType = type; }
  int32_t GetViewOptionMode() const { return m_own.viewOptionMode; }
  void SetViewOptionMode(int32_t mode) { m_own.viewOptionMode = mode; }
  const CString& GetMidasVersion() const { return m_own.midasVersion; }
  void SetMidasVersion(const CString& version) { m_own.midasVersion = version; }
  int32_t GetMidasStructType() const { return m_own.midasStructType; }
  void SetMidasStructType(int32_t type) { m_own.midasStructType = type; }
  int32_t GetMidasMassOption() const { return m_own.midasMassOption; }
  void SetMidasMassOption(int32_t option) { m_own.midasMassOption = option; }
  // The four host settings S1 to S4 (`which` 1 to 4), kept and stored for
  // the host and read by nothing in the library.
  int32_t GetSetting(int which) const;
  void SetSetting(int which, int32_t value);
  double GetResultMin() const { return m_own.resultMin; }
  double GetResultMax() const { return m_own.resultMax; }

  // ---- Companions ------------------------------------------------------
  CTavGlobalOption* GetGlobalOption() const { return m_pGlobalOption.get(); }
  CTavFunction* GetFunction() const { return m_pFunction.get(); }
  CTavJointConstraints* GetConstraint() const { return m_pConstraints.get(); }
  CTavJointMass* GetJointMass() const { return m_pJointMass.get(); }
  CTavJointDamping* GetJointDamping() const { return m_pJointDamping.get(); }

  // ---- Joints and their companions ---------------------------------------
  int32_t AddJoint(double x, double y, double z, int32_t localCoord);
  int32_t AddJoint(const CVector& position, int32_t localCoord);
  int32_t AddJoint(double x, double y, double z, bool ux, bool uy, bool uz, bool rx, bool ry, bool rz,
                   int32_t localCoord);
  void SetJointRestraint(int32_t joint, bool ux, bool uy, bool uz, bool rx, bool ry, bool rz);
  void SetLocalCoodSystem(int32_t joint, int32_t localCoord);
  CTavJoint* GetJoint(int32_t joint) const { return m_arrJoint[static_cast<size_t>(joint)].get(); }
  int32_t GetCountJoint() const { return Count(m_arrJoint); }
  void AddJointMass(int32_t joint, double xmx, double xmy, double xmz, double rmx, double rmy, double rmz);
  void AddJointDamping(int32_t joint, double xdx, double xdy, double xdz, double rdx, double rdy, double rdz);
  int32_t AddJointConstraintDiap(int32_t master, CLongArray slaves);
  // `slaves` holds blank-separated joint numbers, converted as atoi does.
  int32_t AddJointConstraintDiap(int32_t master, const CString& slaves);
  // Angles in radians when `degrees` is 0, in degrees otherwise; stored in
  // degrees. Returns the new system's number.
  int32_t AddLocalCoordSystem(double angle1, double angle2, double angle3, int degrees);
  int32_t GetCountLocalCoord() const { return Count(m_arrLocalCoord); }
  CTavLocalCoord* GetLocalCoord(int32_t system) const { return m_arrLocalCoord[static_cast<size_t>(system)].get(); }

  // ---- Element groups, beams, links ------------------------------------
  CTavGroupElement* AddGroupElement();
  CTavGroupSpring* AddGroupSpringConstants();
  CTavGroupNllink* AddGroupNllink();
  // The caller tells the kind by GetType().
  CTavGroup* GetGroup(int32_t group) const { return m_arrGroup[static_cast<size_t>(group)].get(); }
  // Beam and spring groups.
  int32_t GetCountLinearGroup() const;
  // Link groups.
  int32_t GetCountNonLinearGroup() const;
  // Groups of every kind.
  int32_t GetCountGroup() const { return Count(m_arrGroup); }

  // `group` must be a beam group of this document.
  CTavBeam* AddBeam(CTavGroupElement* group, int32_t section, int32_t jointI, int32_t jointJ, double angle,
                    int releaseI, int releaseJ, double offsetI, double offsetJ, double rigid, double nreg);
  CTavBeam* GetBeam(int32_t beam) const { return m_arrBeam[static_cast<size_t>(beam)].get(); }
  int32_t GetCountBeam() const { return Count(m_arrBeam); }
  // The distance between the beam's two joints.
  double GetLengthBeam(int32_t beam) const;
  // `group` must be a link group of this document.
  CTavNLLink* AddNllink(CTavGroupNllink* group, int32_t jointI, int32_t jointJ, int32_t property, double angle);
  CTavNLLink* GetNLLink(int32_t link) const { return m_arrNLLink[static_cast<size_t>(link)].get(); }
  int32_t GetCountNLLink() const { return Count(m_arrNLLink); }

  // ---- Load cases and combinations ---------------------------------------
  CTavLoadStatic* AddLoadStatic(const CString& name, int selfWeight);
  CTavLoadHistory* AddLoadHistory(const CString& name);
  CTavLoadResponseSpectrum* AddLoadResponseSpectrum(const CString& name);
  CTavLoadMoving* AddMovingLoad(const CString& name);
  CTavCombo* AddCombo(const CString& name, TaV_COMBO_TYPE type);

  CTavLoadStatic* GetStaticLoad(int32_t i) const { return m_arrLoadStatic[static_cast<size_t>(i)].get(); }
  CTavLoadHistory* GetHistoryLoad(int32_t i) const { return m_arrLoadHistory[static_cast<size_t>(i)].get(); }
  CTavLoadResponseSpectrum* GetResponseSpectrum(int32_t i) const {
    return m_arrLoadResponseSpectrum[static_cast<size_t>(i)].get();
  }
  CTavLoadMoving* GetMovingLoad(int32_t i) const { return m_arrLoadMoving[static_cast<size_t>(i)].get(); }
  CTavCombo* GetCombo(int32_t i) const { return m_arrCombo[static_cast<size_t>(i)].get(); }
  int32_t GetCountStaticLoad() const { return Count(m_arrLoadStatic); }
  int32_t GetCountHistoryLoad() const { return Count(m_arrLoadHistory); }
  int32_t GetCountResponseSpectrumLoad() const { return Count(m_arrLoadResponseSpectrum); }
  int32_t GetCountMovingLoad() const { return Count(m_arrLoadMoving); }
  int32_t GetCountComboLoad() const { return Count(m_arrCombo); }

  // Load cases of every kind form one sequence: static, history, response
  // spectrum, moving (N in all), then the combinations. In the result
  // buffers combination j takes two result cases, its maximum at N + 2j and
  // its minimum at N + 2j + 1.
  // N when `withCombo` is 0, N + 2 * combinations otherwise.
  int32_t GetCountLoadCase(int withCombo) const;
  // Appends the case names in sequence order, one per combination; returns
  // 0 (appending nothing) when there is no case at all.
  int GetStringLoadCaseAll(CStringArray& names) const;
  // A position of that name list as a result case.
  int32_t GetLoadCaseReal(int32_t position) const;
  // Finds a static case or a combination (name, "name MAX", "name MIN") by
  // exact name; returns 1 with its result case in `index`, else 0 and -1.
  // Combination j is found at N + 2j (its maximum) and N + 2j + 1, where the
  // result buffers keep it. With `afterStaticOnly`, N counts the static
  // cases alone, for hosts that keep results of their own laid out that
  // way; the two agree when the model has only static cases.
  int GetLoadCaseIndex(const CString& name, int32_t& index, bool afterStaticOnly = false) const;
  // The name of case `number` of kind `type`; empty text for another kind.
  CString GetLoadName(int32_t number, TaV_LOAD_TYPE type) const;

  static CString GetStringStaticLoad() { return "Static Load Cases"; }
  static CString GetStringHistoryLoad() { return "History Load Cases"; }
  static CString GetStringResponseSpectrumLoad() { return "ResponseSpectrum Load Cases"; }
  static CString GetStringMovingLoad() { return "Moving Load Cases"; }

  // ---- Results -----------------------------------------------------------
  // The results of every result case (load cases, then each combination's
  // maximum and minimum) live in two zero-filled blocks: per joint and case
  // three kinds of six values (reaction, displacement, spring force); per
  // beam, case and station a record of the station's position and the six
  // member forces. Positions follow from the model's counts; reads and
  // writes that fall outside the blocks are ignored (reads give 0).

  // Replaces both blocks by zeroed ones sized for the current model and
  // locks the input. Returns false, leaving no blocks and the input as it
  // was, when the blocks do not fit in memory.
  bool AllocResultForceBuff();
  bool HasResults() const { return !m_arrResultJoint.empty() || !m_arrResultBeam.empty(); }
  // Stations kept per beam: the options' force segments + 1.
  int32_t GetCountResultStation() const { return m_pGlobalOption->GetCountForceSegment() + 1; }
  void SetResult_Joint(int32_t joint, int32_t resultCase, const double* values, TaV_JOINT_FORCE_TYPE kind,
                       int32_t count);
  void SetResult_Beam(int32_t beam, int32_t resultCase, int32_t station, const double* values, int32_t count);
  int64_t GetPosJointResultBuff(int32_t joint, int32_t resultCase, TaV_JOINT_FORCE_TYPE kind) const;
  int64_t GetPosBeamResultBuff(int32_t beam, int32_t resultCase, int32_t station) const;
  // Translations (x, y, z) when `rotation` is 0, rotations otherwise.
  CVector GetResultValue_Joint(int32_t joint, int32_t resultCase, TaV_JOINT_FORCE_TYPE kind, int rotation) const;
  // `count` values from kind 0 on (18 gives all three kinds).
  void GetResultValue_Joint(int32_t joint, int32_t resultCase, double* values, int32_t count) const;
  CVector GetResultValue_Joint_Displacement(int32_t joint, int32_t resultCase) const;
  // A member force, rounded to six decimals.
  double GetResultValue_Beam_Force(int32_t beam, int32_t resultCase, int32_t station,
                                   TaV_BEAM_FORCE_TYPE component) const;
  // The station's position, rounded to six decimals.
  double GetResultValue_Beam_Dist(int32_t beam, int32_t resultCase, int32_t station) const;
  void GetResultValue_Beam(int32_t beam, int32_t resultCase, int32_t station, double* values, int32_t count) const;
  // One case's values in place, for loops over every value that cannot
  // afford a position per value: a beam's stations one record after the
  // other, or a joint's three kinds of six. Borrowed from the blocks until
  // they are replaced; empty when the beam, joint or case is not in them.
  std::span<double> GetResultBlock_Beam(int32_t beam, int32_t resultCase);
  std::span<const double> GetResultBlock_Beam(int32_t beam, int32_t resultCase) const;
  std::span<double> GetResultBlock_Joint(int32_t joint, int32_t resultCase);
  std::span<const double> GetResultBlock_Joint(int32_t joint, int32_t resultCase) const;
  // Every case's block of a beam or joint, case after case (each as above).
  std::span<double> GetResultBlocks_Beam(int32_t beam);
  std::span<double> GetResultBlocks_Joint(int32_t joint);
  // The range of one member force over every beam and station of a case of
  // the name list (a combination covers its maximum and minimum); read it
  // with GetResultMin/GetResultMax and GetValueRatio.
  void CalcMaxMin_Beam(int32_t caseNumber, TaV_BEAM_FORCE_TYPE component);
  // Arrow scales from the model's extent L: length 0.1 L, head 0.01 length;
  // value is the largest magnitude among the static case's loads (joint load
  // components and beam-load intensities), left alone when it has none.
  void CalcJointLoad_Arrow(int32_t staticCase, double& value, double& head, double& length) const;
  // Length 0.2 L, head 0.01 length, value 1.
  void CalcBeamLoad_Arrow(int32_t caseNumber, double& value, double& head, double& length) const;
  // Length 0.1 L, head 0.01 length; value is the largest magnitude of the
  // joints' translational reactions in the result case.
  void CalcJointReaction_Arrow(int32_t resultCase, double& value, double& head, double& length) const;

  // ---- Modes -------------------------------------------------------------
  // The modes of the last modal file read (CTavImportTavModes); none in a
  // new document and after ClearData. Modes and joints count from 0;
  // `direction` 0 to 5 is UX, UY, UZ, RX, RY, RZ.
  const TavModalResults& GetModalResults() const { return m_modal; }
  void SetModalResults(TavModalResults modal) { m_modal = std::move(modal); }
  int32_t GetCountMode() const { return Count(m_modal.modes); }
  double GetModePeriod(int32_t mode) const { return m_modal.modes[mode].period; }
  double GetModeFrequency(int32_t mode) const { return m_modal.modes[mode].frequency; }
  double GetModeCircularFrequency(int32_t mode) const { return m_modal.modes[mode].circular; }
  double GetModeParticipation(int32_t mode, int direction) const {
    return m_modal.modes[mode].participation[direction];
  }
  double GetModeMassRatio(int32_t mode, int direction) const { return m_modal.modes[mode].massRatio[direction]; }
  // The mass ratios of modes 0 to `mode` together.
  double GetModeCumulativeMassRatio(int32_t mode, int direction) const;
  // The six values of the mode's shape at the joint.
  const TavSix& GetModeShape(int32_t joint, int32_t mode) const { return m_modal.modes[mode].shape[joint]; }

  // ---- Responses of history and moving cases ------------------------------
  // The envelopes and time series of the last response file read
  // (CTavImportTavResponses); none in a new document and after ClearData or
  // LoadArchive. Reading results (AllocResultForceBuff, the output import)
  // keeps them: the output import composes its combinations with them, so
  // the file is read before the output.
  const TavResponseResults& GetResponseResults() const { return m_responses; }
  void SetResponseResults(TavResponseResults responses) { m_responses = std::move(responses); }

  // ---- Solver input ----------------------------------------------------
  // Rigid link records read from an archive; no operation adds one, and the
  // own input's count statement names them.
  int32_t GetCountRigidLink() const { return Count(m_arrRigidLink); }
  // Writes the model as solver input in `format` to `path` (asking the
  // save-file dialog when it is empty), through OwnInputWriter,
  // SapInputWriter or MidasInputWriter. Returns 1 when written, 0 when the
  // dialog was cancelled or the file cannot be opened. An error while
  // writing throws FileError; the file then holds what was written. Saving
  // the own format keeps in each rectangular section whose IS and IT are
  // both 0 the values its text computes (CTavSection::AutoPropCalc).
  int Save(CString path, TaV_INPUT_FORMAT format);
  // How `Save` writes the reals of the own solver input: six significant
  // digits (the default, the form every reader of the format knows) or each
  // real in full. A setting of this document object: not stored in the
  // archive and left as it is by Init, loading and clearing.
  TaV_REAL_PRECISION GetRealPrecision() const { return m_settings.precision; }
  void SetRealPrecision(TaV_REAL_PRECISION precision) { m_settings.precision = precision; }
  // How the result import composes ENVE and ABS combinations: from zero
  // (the default) or from each combination's first term. A setting of this
  // document object like the precision.
  TaV_ENVELOPE_START GetEnvelopeStart() const { return m_settings.envelopeStart; }
  void SetEnvelopeStart(TaV_ENVELOPE_START start) { m_settings.envelopeStart = start; }
  // "%g" with "." appended when the text has none.
  static CString GetTextReal(double value);
  // `value` over the larger magnitude of the last result extremes (0 when
  // that is 0), for scaling drawn diagrams.
  double GetValueRatio(double value) const;

 protected:
  // The writer members below stay for hosts that derive from the document
  // and forward to the writer classes (writers/TavDataWriterMembers.cpp
  // pairs each section with the writer's). Each writes into `ar` what its
  // writer's section writes and returns 1.

  // Line emitters: format, then Write with a line end; the own format wraps
  // statements of 80 characters or more.
  void Write_Tav(CArchive& ar, const char* format, ...) __attribute__((format(printf, 3, 4)));
  void Write_Sap(CArchive& ar, const char* format, ...) __attribute__((format(printf, 3, 4)));
  void Write_Midas(CArchive& ar, const char* format, ...) __attribute__((format(printf, 3, 4)));
  void Write(CArchive& ar, const CString& text, int newline, int wrap);
  // A real of the own format in the document's precision.
  CString RealText(double value) const;
  // Appends the blank-separated words of `text`.
  void SeperateText(const CString& text, CStringArray& words) const;

  // Own solver input, in file order. WriteGroup_Tav keeps the rectangle
  // properties it computes, as Save does.
  int WriteTitle_Tav(CArchive& ar);
  int WriteSystem_Tav(CArchive& ar);
  int WriteFunction_Tav(CArchive& ar);
  int WriteLocalCoord_Tav(CArchive& ar);
  int WriteJointInfomation_Tav(CArchive& ar);
  int WriteJointRestraint_Tav(CArchive& ar);
  int WriteJointConstraint_Tav(CArchive& ar);
  int WriteJointMass_Tav(CArchive& ar);
  int WriteJointDamp_Tav(CArchive& ar);
  int WriteInitialConditions_Tav(CArchive& ar);
  int WriteGroup_Tav(CArchive& ar);
  int WriteLoadStatic_Tav(CArchive& ar);
  int WriteLoadHistory_Tav(CArchive& ar);
  int WriteLoadResponseSpectrum_Tav(CArchive& ar);
  int WriteMovingLoad_Tav(CArchive& ar);
  int WriteStop_Tav(CArchive& ar);

  // Sap input, in file order.
  int WriteSystem_Sap(CArchive& ar);
  int WriteJoint_Sap(CArchive& ar);
  int WriteLocal_Sap(CArchive& ar);
  int WriteRestaint_Sap(CArchive& ar);
  int WriteSpring_Sap(CArchive& ar);
  int WriteMaterial_Sap(CArchive& ar);
  int WriteNLProp_Sap(CArchive& ar);
  int WriteFrameSection_Sap(CArchive& ar);
  int WriteFrame_Sap(CArchive& ar);
  int WriteNLLink_Sap(CArchive& ar);
  int WriteLoad_Sap(CArchive& ar);
  int WriteCombo_Sap(CArchive& ar);
  int WriteOutput_Sap(CArchive& ar);

  // Midas input, in file order.
  int WriteTitle_Midas(CArchive& ar);
  int WriteVersion(CArchive& ar);
  int WriteUnit_Midas(CArchive& ar);
  int WriteStructType_Midas(CArchive& ar);
  int WriteNode_Midas(CArchive& ar);
  int WriteElement_Midas(CArchive& ar);
  int WriteMaterial_Midas(CArchive& ar);
  int WriteSection_Midas(CArchive& ar);
  int WriteSpring_Midas(CArchive& ar);
  int WriteLoadCaseName_Midas(CArchive& ar);
  int WriteLoadCase_Midas(CArchive& ar);
  int WriteLoadCombo_Midas(CArchive& ar);
  int WriteEndMessage_Midas(CArchive& ar);

  // Blocks the two formats know but this model has nothing for: they write
  // nothing. The Sap ones take their places in the file order.
  int WriteConstraints_Sap(CArchive& ar) { return WriteNothing(ar); }
  int WriteFunction_Sap(CArchive& ar) { return WriteNothing(ar); }
  int WriteHistory_Sap(CArchive& ar) { return WriteNothing(ar); }
  int WriteLane_Sap(CArchive& ar) { return WriteNothing(ar); }
  int WriteMass_Sap(CArchive& ar) { return WriteNothing(ar); }
  int WriteMode_Sap(CArchive& ar) { return WriteNothing(ar); }
  int WriteMovingLoad_Sap(CArchive& ar) { return WriteNothing(ar); }
  int WritePDelta_Sap(CArchive& ar) { return WriteNothing(ar); }
  int WritePattern_Sap(CArchive& ar) { return WriteNothing(ar); }
  int WriteResponseSpectrum_Sap(CArchive& ar) { return WriteNothing(ar); }
  int WriteShellSection_Sap(CArchive& ar) { return WriteNothing(ar); }
  int WriteShell_Sap(CArchive& ar) { return WriteNothing(ar); }
  int WriteSpec_Sap(CArchive& ar) { return WriteNothing(ar); }
  int WriteVehicleClass_Sap(CArchive& ar) { return WriteNothing(ar); }
  int WriteVehicle_Sap(CArchive& ar) { return WriteNothing(ar); }
  int WriteBoundaryGroup_Midas(CArchive& ar) { return WriteNothing(ar); }
  int WriteConstraint_Midas(CArchive& ar) { return WriteNothing(ar); }
  int WriteGroup_Midas(CArchive& ar) { return WriteNothing(ar); }
  int WriteLane_Midas(CArchive& ar) { return WriteNothing(ar); }
  int WriteLoadGroup_Midas(CArchive& ar) { return WriteNothing(ar); }
  int WriteMovingLoad_Midas(CArchive& ar) { return WriteNothing(ar); }
  int WriteNLLinkProperty_Midas(CArchive& ar) { return WriteNothing(ar); }
  int WriteNLLink_Midas(CArchive& ar) { return WriteNothing(ar); }
  int WriteOffSet_Midas(CArchive& ar) { return WriteNothing(ar); }
  int WriteRigidLink_Midas(CArchive& ar) { return WriteNothing(ar); }
  int WriteShellSection_Midas(CArchive& ar) { return WriteNothing(ar); }
  int WriteStage_Midas(CArchive& ar) { return WriteNothing(ar); }
  int WriteSurLane_Midas(CArchive& ar) { return WriteNothing(ar); }
  int WriteTendonGroup_Midas(CArchive& ar) { return WriteNothing(ar); }
  int WriteTendonProfile_Midas(CArchive& ar) { return WriteNothing(ar); }
  int WriteTendonProperty_Midas(CArchive& ar) { return WriteNothing(ar); }
  int WriteTimeDependentElast_Midas(CArchive& ar) { return WriteNothing(ar); }
  int WriteTimeDependentLink_Midas(CArchive& ar) { return WriteNothing(ar); }
  int WriteTimeDependentMatType_Midas(CArchive& ar) { return WriteNothing(ar); }
  int WriteTimeDependentPrestress_Midas(CArchive& ar) { return WriteNothing(ar); }
  int WriteVehicleClass_Midas(CArchive& ar) { return WriteNothing(ar); }
  int WriteVehicle_Midas(CArchive& ar) { return WriteNothing(ar); }

 private:
  // Takes every member of `other` (a freshly loaded document).
  CTavData& operator=(CTavData&& other) = default;
  // Loads the record, checks the model, and puts the model back on failure;
  // `recordEndsArchive` when nothing may follow the record.
  void Load(CArchive& ar, bool recordEndsArchive);
  // A copy of this document (through its record).
  std::unique_ptr<CTavData> Copy();
  void SerializeRecord(CArchive& ar, bool recordEndsArchive = false);
  void SerializeCasesAndSettings(CArchive& ar);
  void SerializeGroups(CArchive& ar);
  void LoadOldLayoutGroups(CArchive& ar, bool recordEndsArchive);
  void SerializeCombos(CArchive& ar);

  // The largest extent of the joints along x, y or z; false without joints.
  bool GetModelExtent(double& extent) const;

  template <typename T>
  static int32_t Count(const std::vector<T>& list) {
    return static_cast<int32_t>(list.size());
  }
  static int WriteNothing(CArchive& /*ar*/) { return 1; }
  // Computes the properties of each rectangular section whose IS and IT are
  // both 0 and keeps them, as writing the own input always has.
  void KeepComputedRectangleProperties();
  void WriteFormatted(CArchive& ar, int wrap, const char* format, va_list args) __attribute__((format(printf, 4, 0)));

  std::unique_ptr<CTavGlobalOption> m_pGlobalOption;
  std::unique_ptr<CTavFunction> m_pFunction;
  std::unique_ptr<CTavJointConstraints> m_pConstraints;
  std::unique_ptr<CTavJointMass> m_pJointMass;
  std::unique_ptr<CTavJointDamping> m_pJointDamping;

  std::vector<std::unique_ptr<CTavJoint>> m_arrJoint;
  std::vector<std::unique_ptr<CTavBeam>> m_arrBeam;
  std::vector<std::unique_ptr<CTavNLLink>> m_arrNLLink;
  std::vector<std::unique_ptr<CTavLocalCoord>> m_arrLocalCoord;
  // Filled by no operation; kept for the RIGID LINKS count and the archive.
  std::vector<std::unique_ptr<CObject>> m_arrRigidLink;
  std::vector<std::unique_ptr<CObject>> m_arrSpare;
  std::vector<std::unique_ptr<CTavGroup>> m_arrGroup;
  std::vector<std::unique_ptr<CTavLoadStatic>> m_arrLoadStatic;
  std::vector<std::unique_ptr<CTavLoadHistory>> m_arrLoadHistory;
  std::vector<std::unique_ptr<CTavLoadResponseSpectrum>> m_arrLoadResponseSpectrum;
  std::vector<std::unique_ptr<CTavLoadMoving>> m_arrLoadMoving;
  std::vector<std::unique_ptr<CTavCombo>> m_arrCombo;

  // Result buffers; empty means none.
  std::vector<double> m_arrResultJoint;
  std::vector<double> m_arrResultBeam;
  std::vector<double> m_arrResultOther;
  TavModalResults m_modal;
  TavResponseResults m_responses;

  // The document's own values, as a new document (and Init) has them.
  struct OwnValues {
    CString title;
    CString midasVersion = "4.3.0";
    int32_t midasStructType = 1;
    int32_t midasMassOption = 0;
    int32_t setting1 = 10;
    double resultMin = 1.0e10;  // the range of the last CalcMaxMin_Beam
    double resultMax = -1.0e10;
    int32_t lockInput = 0;
    int32_t setting2 = 2;
    int32_t setting3 = 0;
    int32_t jointType = 1;
    int32_t viewOptionMode = 0xFCFF;
    int32_t setting4 = 1;
  };
  OwnValues m_own;
  // Settings of this document object, which Init, clearing and loading
  // leave as they are.
  struct ObjectSettings {
    TaV_REAL_PRECISION precision = TaV_PRECISION_SIX_DIGITS;
    TaV_ENVELOPE_START envelopeStart = TaV_ENVELOPE_FROM_ZERO;
  };
  ObjectSettings m_settings;
};

}  // namespace tav
