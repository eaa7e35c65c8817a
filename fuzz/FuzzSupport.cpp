#include "FuzzSupport.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tav/platform/MessageBox.h"

namespace tav::fuzz {

InputFile::InputFile() {
  m_fd = ::memfd_create("tav-fuzz-input", MFD_CLOEXEC);
  if (m_fd < 0) Finding(std::string("cannot make the input file: ") + std::strerror(errno));
  m_path = "/proc/self/fd/" + std::to_string(m_fd);
}

InputFile::~InputFile() { ::close(m_fd); }

void InputFile::Assign(const uint8_t* data, size_t size) {
  if (::ftruncate(m_fd, 0) != 0) Finding(std::string("cannot empty the input file: ") + std::strerror(errno));
  size_t written = 0;
  while (written < size) {
    const ssize_t n = ::pwrite(m_fd, data + written, size - written, static_cast<off_t>(written));
    if (n <= 0) Finding(std::string("cannot write the input file: ") + std::strerror(errno));
    written += static_cast<size_t>(n);
  }
}

ScratchDir::ScratchDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tav-fuzz-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) Finding("cannot make a scratch directory");
  m_path = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

InputFile& Input() {
  static InputFile input;
  return input;
}

ScratchDir& Scratch() {
  static ScratchDir scratch;
  return scratch;
}

void SilenceMessages() {
  static const bool silenced = [] {
    SetMessageBoxHandler([](const CString&, unsigned) { return IDOK; });
    return true;
  }();
  (void)silenced;
}

const std::string& TakeInput(const uint8_t* data, size_t size) {
  SilenceMessages();
  Input().Assign(data, size);
  return Input().Path();
}

void Finding(const std::string& what) {
  std::fprintf(stderr, "fuzz finding: %s\n", what.c_str());
  std::abort();
}

void BuildResultModel(CTavData& doc, bool withHistory) {
  doc.SetTitle("FUZZ PORTAL");
  doc.GetFunction()->AddFunctionDefault();
  doc.GetGlobalOption()->SetDOF(true, false, true, false, true, false);
  doc.GetGlobalOption()->m_nForceSegments = 2;
  doc.AddJoint(0, 0, 0, true, true, true, true, true, true, -1);
  doc.AddJoint(0, 0, 3, -1);
  doc.AddJoint(4, 0, 3, -1);
  doc.AddJoint(8, 0, 3, -1);
  doc.AddJoint(8, 0, 0, true, true, true, true, true, true, -1);

  CTavGroupElement* columns = doc.AddGroupElement();
  columns->AddSection_Rect(2.1e7, 0.4, 0.4);
  doc.AddBeam(columns, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0);
  doc.AddBeam(columns, 0, 4, 3, 0, 0, 0, 0, 0, 0, 0);
  CTavGroupSpring* springs = doc.AddGroupSpringConstants();
  springs->AddSpringConstants(5.0e3, 0, 0);
  springs->AddSpring(0, 2);
  CTavGroupElement* girders = doc.AddGroupElement();
  girders->AddSection_Rect(2.1e7, 0.3, 0.6);
  doc.AddBeam(girders, 0, 1, 2, 0, 0, 0, 0, 0, 0, 0);
  doc.AddBeam(girders, 0, 2, 3, 0, 0, 0, 0, 0, 0, 0);

  CTavLoadStatic* dead = doc.AddLoadStatic("DL", 0);
  dead->AddLoadStatic_BEAMLOAD_DIST_W1W2(2, TaV_DIR_Z, -12, -12, 0, 1, 0, 0);
  dead->AddLoadStatic_BEAMLOAD_DIST_W1W2(3, TaV_DIR_Z, -12, -8, 0, 1, 0, 0);
  CTavLoadStatic* live = doc.AddLoadStatic("LL", 0);
  live->AddLoadStatic_Joint(2, 5, 0, -20, 0, 0, 0, 0);
  if (withHistory) doc.AddLoadHistory("TH");

  CTavCombo* ultimate = doc.AddCombo("ULS", TaV_COMBO_ADD);
  ultimate->AddLoad(TaV_LOAD_STATIC, 0, 1.2, 0);
  ultimate->AddLoad(TaV_LOAD_STATIC, 1, 1.6, 0);
  CTavCombo* envelope = doc.AddCombo("ENV", TaV_COMBO_ENVE);
  envelope->AddLoad(TaV_LOAD_COMBO, 0, 1.0, 0);
  if (withHistory) {
    envelope->AddLoad(TaV_LOAD_HISTORY, 0, 1.0, 0);
  } else {
    envelope->AddLoad(TaV_LOAD_STATIC, 1, 1.0, 0);
  }
}

void QueryResults(CTavData& doc) {
  const int32_t resultCases = doc.GetCountLoadCase(1);
  const int32_t listed = doc.GetCountLoadCase(0) + doc.GetCountComboLoad();
  double value = 0.0, head = 0.0, length = 0.0;
  for (int32_t position = 0; position < listed; ++position) {
    doc.CalcMaxMin_Beam(position, static_cast<TaV_BEAM_FORCE_TYPE>(position % 6));
    value += doc.GetValueRatio(doc.GetResultMax());
  }
  for (int32_t resultCase = 0; resultCase < resultCases; ++resultCase) {
    for (int32_t beam = 0; beam < doc.GetCountBeam(); ++beam) {
      for (int32_t station = 0; station < doc.GetCountResultStation(); ++station) {
        value += doc.GetResultValue_Beam_Dist(beam, resultCase, station);
        value += doc.GetResultValue_Beam_Force(beam, resultCase, station, TaV_FORCE_6);
      }
    }
    for (int32_t joint = 0; joint < doc.GetCountJoint(); ++joint) {
      value += doc.GetResultValue_Joint_Displacement(joint, resultCase).z;
      value += doc.GetResultValue_Joint(joint, resultCase, TaV_JOINT_SPRING, 1).y;
    }
    doc.CalcJointReaction_Arrow(resultCase, value, head, length);
  }
  // Keeps the queries from being optimised away.
  volatile double sink = value + head + length;
  (void)sink;
}

}  // namespace tav::fuzz
