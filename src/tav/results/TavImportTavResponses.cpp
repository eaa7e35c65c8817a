#include "tav/results/TavImportTavResponses.h"

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "tav/platform/Archive.h"
#include "tav/results/WholeFileReader.h"

namespace tav {
namespace {

constexpr std::string_view kMark = "TAVRESPS";
constexpr int32_t kVersion = 1;
constexpr size_t kIntBytes = 4;
constexpr size_t kDoubleBytes = 8;

class DamagedResponses : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string At(uint64_t offset) { return " at offset " + std::to_string(offset); }

int32_t ReadInt(CArchive& ar) {
  int32_t value = 0;
  ar >> value;
  return value;
}

double ReadFinite(CArchive& ar) {
  double value = 0.0;
  ar >> value;
  if (!std::isfinite(value)) throw DamagedResponses("a value that is not a finite number" + At(ar.GetOffset() - 8));
  return value;
}

// Callers have checked that the values are there, so a damaged count cannot
// make this allocate more than the file holds.
void AppendFinite(CArchive& ar, std::vector<double>& values, size_t count) {
  values.reserve(values.size() + count);
  for (size_t i = 0; i < count; ++i) values.push_back(ReadFinite(ar));
}

// What the file must fit.
struct ModelCounts {
  int32_t joints;
  int32_t beams;
  int32_t stations;  // the most a beam may have
  int32_t histories;
  int32_t movings;
};

ModelCounts CountsOf(const CTavData& doc) {
  return {doc.GetCountJoint(), doc.GetCountBeam(), doc.GetCountResultStation(), doc.GetCountHistoryLoad(),
          doc.GetCountMovingLoad()};
}

// The layout every case record of the file shares.
struct FileShape {
  size_t joints = 0;
  std::vector<int32_t> stations;  // per beam

  size_t EnvelopeValues() const {
    size_t values = 12 * joints;
    for (int32_t count : stations) values += 6 * static_cast<size_t>(count);
    return values;
  }
  // Kind, number, failed, both envelopes, steps and dt: a case without steps.
  size_t ShortestCaseBytes() const { return 4 * kIntBytes + (2 * EnvelopeValues() + 1) * kDoubleBytes; }
};

std::string CaseName(int32_t kind, int32_t number) {
  return (kind == TaV_LOAD_HISTORY ? "history case " : "moving case ") + std::to_string(number);
}

// Reads a count that must equal the model's count of `what`.
void ReadMatching(CArchive& ar, const char* what, int32_t inModel) {
  const uint64_t at = ar.GetOffset();
  const int32_t inFile = ReadInt(ar);
  if (inFile != inModel) {
    throw DamagedResponses("the file holds " + std::to_string(inFile) + " " + what + At(at) + "; the model has " +
                           std::to_string(inModel));
  }
}

// Returns the case count.
int32_t ReadHeader(CArchive& ar, const ModelCounts& model) {
  std::string mark(kMark.size(), '\0');
  ar.Read(mark.data(), mark.size());
  if (mark != kMark) throw DamagedResponses("not a response file (it does not begin with TAVRESPS)");
  const int32_t version = ReadInt(ar);
  if (version != kVersion) throw DamagedResponses("layout version " + std::to_string(version) + " is not known");
  ReadMatching(ar, "joints", model.joints);
  ReadMatching(ar, "beams", model.beams);
  const int32_t cases = model.histories + model.movings;
  ReadMatching(ar, "history and moving cases", cases);
  return cases;
}

FileShape ReadShape(CArchive& ar, const ModelCounts& model) {
  FileShape shape;
  shape.joints = static_cast<size_t>(model.joints);
  ar.CheckCount(model.beams, kIntBytes, "beam station counts");
  for (int32_t beam = 0; beam < model.beams; ++beam) {
    const uint64_t at = ar.GetOffset();
    const int32_t stations = ReadInt(ar);
    if (stations < 0 || stations > model.stations) {
      throw DamagedResponses("beam " + std::to_string(beam + 1) + " has " + std::to_string(stations) + " stations" +
                             At(at) + "; the model keeps " + std::to_string(model.stations));
    }
    shape.stations.push_back(stations);
  }
  return shape;
}

// Reads the record's kind and number, which must name the case `index` of
// the document's history cases followed by its moving cases.
void ReadCaseName(CArchive& ar, int32_t index, const ModelCounts& model, TavCaseResponse& response) {
  const uint64_t at = ar.GetOffset();
  const int32_t kind = ReadInt(ar);
  if (kind != TaV_LOAD_HISTORY && kind != TaV_LOAD_MOVING) {
    throw DamagedResponses("case kind " + std::to_string(kind) + At(at) + " is neither history (1) nor moving (3)");
  }
  const int32_t number = ReadInt(ar);
  const int32_t count = kind == TaV_LOAD_HISTORY ? model.histories : model.movings;
  if (number < 1 || number > count) {
    throw DamagedResponses(CaseName(kind, number) + At(at + kIntBytes) + " is not in the model (it has " +
                           std::to_string(count) + ")");
  }
  const bool history = index < model.histories;
  const int32_t expectedKind = history ? TaV_LOAD_HISTORY : TaV_LOAD_MOVING;
  const int32_t expectedNumber = history ? index + 1 : index - model.histories + 1;
  if (kind != expectedKind || number != expectedNumber) {
    throw DamagedResponses(CaseName(kind, number) + At(at) + " where " + CaseName(expectedKind, expectedNumber) +
                           " belongs");
  }
  response.kind = kind;
  response.number = number - 1;
}

bool ReadFailed(CArchive& ar) {
  const uint64_t at = ar.GetOffset();
  const int32_t failed = ReadInt(ar);
  if (failed != 0 && failed != 1) {
    throw DamagedResponses("the failed flag " + std::to_string(failed) + At(at) + " is neither 0 nor 1");
  }
  return failed == 1;
}

TavResponseValues ReadEnvelope(CArchive& ar, const FileShape& shape) {
  TavResponseValues values;
  AppendFinite(ar, values.displacements, 6 * shape.joints);
  AppendFinite(ar, values.reactions, 6 * shape.joints);
  values.beamForces.resize(shape.stations.size());
  for (size_t beam = 0; beam < shape.stations.size(); ++beam) {
    AppendFinite(ar, values.beamForces[beam], 6 * static_cast<size_t>(shape.stations[beam]));
  }
  return values;
}

// Only a solved history case has steps.
void ReadSeries(CArchive& ar, const FileShape& shape, TavCaseResponse& response) {
  const uint64_t at = ar.GetOffset();
  const int32_t steps = ReadInt(ar);
  if (steps != 0 && (response.kind == TaV_LOAD_MOVING || response.failed)) {
    throw DamagedResponses(std::string(response.failed ? "failed " : "") +
                           CaseName(response.kind, response.number + 1) + " has " + std::to_string(steps) + " steps" +
                           At(at) + "; it can have none");
  }
  const size_t jointValues = 6 * shape.joints;
  ar.CheckCount(steps, (1 + 2 * jointValues) * kDoubleBytes, "steps");
  response.dt = ReadFinite(ar);
  for (int32_t step = 0; step < steps; ++step) {
    response.times.push_back(ReadFinite(ar));
    AppendFinite(ar, response.stepDisplacements, jointValues);
    AppendFinite(ar, response.stepReactions, jointValues);
  }
}

TavCaseResponse ReadCase(CArchive& ar, int32_t index, const ModelCounts& model, const FileShape& shape) {
  TavCaseResponse response;
  ReadCaseName(ar, index, model, response);
  response.failed = ReadFailed(ar);
  response.maximum = ReadEnvelope(ar, shape);
  response.minimum = ReadEnvelope(ar, shape);
  ReadSeries(ar, shape, response);
  return response;
}

TavResponseResults ReadResponses(CArchive& ar, const ModelCounts& model) {
  const int32_t cases = ReadHeader(ar, model);
  const FileShape shape = ReadShape(ar, model);
  ar.CheckCount(cases, shape.ShortestCaseBytes(), "cases");
  TavResponseResults responses;
  responses.cases.reserve(static_cast<size_t>(cases));
  for (int32_t index = 0; index < cases; ++index) responses.cases.push_back(ReadCase(ar, index, model, shape));
  if (ar.GetBytesLeft() != 0) {
    throw DamagedResponses(std::to_string(ar.GetBytesLeft()) + " bytes follow the last case" + At(ar.GetOffset()));
  }
  return responses;
}

}  // namespace

int CTavImportTavResponses::LoadData(const CString& path, CString* problem) {
  return ReadWholeFile(
      path, problem, [this](CArchive& ar) { return ReadResponses(ar, CountsOf(*m_pData)); },
      [this](TavResponseResults read) { m_pData->SetResponseResults(std::move(read)); });
}

}  // namespace tav
