#include "tav/results/TavImportTavModes.h"

#include <cmath>
#include <stdexcept>
#include <string>

#include "tav/platform/Archive.h"
#include "tav/results/WholeFileReader.h"

namespace tav {
namespace {

constexpr std::string_view kMark = "TAVMODES";
constexpr int32_t kVersion = 1;
constexpr size_t kValuesBeforeShape = 4 + 6 + 6;

class DamagedModes : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

double ReadFinite(CArchive& ar) {
  double value = 0.0;
  ar >> value;
  if (!std::isfinite(value)) {
    throw DamagedModes("a value that is not a finite number at offset " + std::to_string(ar.GetOffset() - 8));
  }
  return value;
}

void ReadSix(CArchive& ar, TavSix& values) {
  for (double& value : values) value = ReadFinite(ar);
}

void ReadHeader(CArchive& ar, int32_t joints, int32_t& modes) {
  std::string mark(kMark.size(), '\0');
  ar.Read(mark.data(), mark.size());
  if (mark != kMark) throw DamagedModes("not a modal file (it does not begin with TAVMODES)");
  int32_t version = 0, fileJoints = 0;
  ar >> version >> fileJoints >> modes;
  if (version != kVersion) throw DamagedModes("layout version " + std::to_string(version) + " is not known");
  if (fileJoints != joints) {
    throw DamagedModes("the file holds " + std::to_string(fileJoints) + " joints; the model has " +
                       std::to_string(joints));
  }
}

TavMode ReadMode(CArchive& ar, int32_t expectedNumber, int32_t joints) {
  int32_t number = 0;
  ar >> number;
  if (number != expectedNumber) {
    throw DamagedModes("mode " + std::to_string(number) + " at offset " + std::to_string(ar.GetOffset() - 4) +
                       " where mode " + std::to_string(expectedNumber) + " belongs");
  }
  TavMode mode;
  mode.eigenvalue = ReadFinite(ar);
  mode.circular = ReadFinite(ar);
  mode.frequency = ReadFinite(ar);
  mode.period = ReadFinite(ar);
  ReadSix(ar, mode.participation);
  ReadSix(ar, mode.massRatio);
  mode.shape.resize(static_cast<size_t>(joints));
  for (TavSix& joint : mode.shape) ReadSix(ar, joint);
  return mode;
}

TavModalResults ReadModes(CArchive& ar, int32_t joints) {
  int32_t count = 0;
  ReadHeader(ar, joints, count);
  TavModalResults modal;
  ReadSix(ar, modal.totalMass);
  const size_t modeBytes = 4 + 8 * (kValuesBeforeShape + 6 * static_cast<size_t>(joints));
  ar.CheckCount(count, modeBytes, "modes");
  modal.modes.reserve(static_cast<size_t>(count));
  for (int32_t n = 0; n < count; ++n) modal.modes.push_back(ReadMode(ar, n + 1, joints));
  if (ar.GetBytesLeft() != 0) {
    throw DamagedModes(std::to_string(ar.GetBytesLeft()) + " bytes follow the last mode at offset " +
                       std::to_string(ar.GetOffset()));
  }
  return modal;
}

}  // namespace

int CTavImportTavModes::LoadData(const CString& path, CString* problem) {
  return ReadWholeFile(
      path, problem, [this](CArchive& ar) { return ReadModes(ar, m_pData->GetCountJoint()); },
      [this](TavModalResults read) { m_pData->SetModalResults(std::move(read)); });
}

}  // namespace tav
