// Fuzzes the reader of the response file: any bytes, read for the small
// result model with a moving case added, must give 1 or 0 with a reason,
// never a crash or an exception. On 0 the document holds no responses; on 1
// every case has the model's shape, every value answers, and the
// combinations compose from the envelopes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "FuzzTarget.h"
#include "tav/results/TavImportTavOutput.h"
#include "tav/results/TavImportTavResponses.h"

namespace {

using namespace tav;

// The composition of the output import, over whatever the result store holds.
class Composer : public CTavImportTavOutput {
 public:
  using CTavImportTavOutput::CTavImportTavOutput;
  void Compose() { ComposeComboData(); }
};

// The result model, a moving case along its girders and a combination of
// the history and moving cases (SeedGenerator.cpp analyses the same model).
void BuildResponseModel(CTavData& doc) {
  fuzz::BuildResultModel(doc, true);
  doc.AddMovingLoad("ML")->AddMovingLoad_Lane(2, 3, 0.5, 0.5);
  CTavCombo* dynamic = doc.AddCombo("DYN", TaV_COMBO_ABS);
  dynamic->AddLoad(TaV_LOAD_HISTORY, 0, -1.0, 0);
  dynamic->AddLoad(TaV_LOAD_MOVING, 0, 2.0, 0);
}

bool HasModelShape(const TavResponseValues& values, const CTavData& doc) {
  if (values.JointCount() != doc.GetCountJoint() || values.reactions.size() != values.displacements.size() ||
      values.BeamCount() != doc.GetCountBeam()) {
    return false;
  }
  for (int32_t beam = 0; beam < values.BeamCount(); ++beam) {
    if (values.StationCount(beam) > doc.GetCountResultStation()) return false;
  }
  return true;
}

// Every value of the response through the accessors a host uses.
double SumOfValues(const TavCaseResponse& response) {
  double sum = response.dt;
  for (const TavResponseValues* values : {&response.maximum, &response.minimum}) {
    for (int32_t joint = 0; joint < values->JointCount(); ++joint) {
      sum += values->Displacement(joint, 5) + values->Reaction(joint, 0);
    }
    for (int32_t beam = 0; beam < values->BeamCount(); ++beam) {
      for (int32_t station = 0; station < values->StationCount(beam); ++station) sum += values->Force(beam, station, 5);
    }
  }
  for (int32_t step = 0; step < response.StepCount(); ++step) {
    for (int32_t joint = 0; joint < response.maximum.JointCount(); ++joint) {
      sum += response.Displacement(step, joint, 5) + response.Reaction(step, joint, 0);
    }
  }
  return sum;
}

void CheckResponses(const CTavData& doc) {
  const TavResponseResults& responses = doc.GetResponseResults();
  const int32_t cases = doc.GetCountHistoryLoad() + doc.GetCountMovingLoad();
  if (static_cast<int32_t>(responses.cases.size()) != cases) fuzz::Finding("a case count the model does not have");
  double sum = 0.0;
  for (const TavCaseResponse& response : responses.cases) {
    if (!HasModelShape(response.maximum, doc) || !HasModelShape(response.minimum, doc)) {
      fuzz::Finding("an envelope the model's shape does not have");
    }
    const size_t stepValues = static_cast<size_t>(response.StepCount()) * response.maximum.displacements.size();
    if (response.stepDisplacements.size() != stepValues || response.stepReactions.size() != stepValues) {
      fuzz::Finding("steps whose joint values do not fill them");
    }
    sum += SumOfValues(response);
  }
  volatile double sink = sum;  // every query's value is used
  (void)sink;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = fuzz::TakeInput(data, size);

  CTavData doc;
  BuildResponseModel(doc);
  CString problem;
  const int read = CTavImportTavResponses(&doc).LoadData(path, &problem);
  if (read != 0 && read != 1) fuzz::Finding("LoadData gave " + std::to_string(read));
  if (read == 0) {
    if (problem.empty() || !doc.GetResponseResults().cases.empty())
      fuzz::Finding("refused without reason or kept cases");
    return 0;
  }
  CheckResponses(doc);
  if (!doc.AllocResultForceBuff()) fuzz::Finding("no result buffers for the small model");
  Composer(&doc).Compose();
  fuzz::QueryResults(doc);
  return 0;
}
