// Fuzzes the JSON model reader of the library (Tav::json): any text either builds a
// model or is refused with a ModelError whose place is a JSON pointer to a
// value of the text (or "" for the whole text). A built model must write in
// all three solver input formats (the own one in both precisions), the
// places of what its own input would lose must name values of the text, and
// the model file written from it must build again.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "FuzzTarget.h"
#include "tav/json/ModelJson.h"
#include "tool/InputChecks.h"

namespace {

using tav::json::Json;
using tav::json::ModelError;

// The error's place must name a value of `model` (the parsed text, when it
// parsed).
void CheckPlace(const ModelError& error, const std::optional<Json>& model) {
  if (std::string(error.what()).empty()) tav::fuzz::Finding("a model error without a message");
  if (error.Path().empty()) return;
  if (!model) tav::fuzz::Finding("a syntax error placed at \"" + error.Path() + "\"");
  bool found = false;
  try {
    found = model->contains(Json::json_pointer(error.Path()));
  } catch (const Json::exception& bad) {
    tav::fuzz::Finding("the place \"" + error.Path() + "\" is no JSON pointer: " + bad.what());
  }
  if (!found) tav::fuzz::Finding("the place \"" + error.Path() + "\" names no value of the model");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tav;
  fuzz::SilenceMessages();
  const std::string text(reinterpret_cast<const char*>(data), size);

  std::optional<Json> model;
  CTavData doc;
  try {
    model = json::ParseModelText(text);
    json::BuildModel(*model, doc);
  } catch (const ModelError& error) {
    CheckPlace(error, model);
    return 0;
  }
  for (const TaV_INPUT_FORMAT format : {TaV_FORMAT_TAV, TaV_FORMAT_SAP, TaV_FORMAT_MIDAS}) {
    if (doc.Save("/dev/null", format) != 1) fuzz::Finding("Save refused a built model");
  }
  doc.SetRealPrecision(TaV_PRECISION_FULL);
  if (doc.Save("/dev/null", TaV_FORMAT_TAV) != 1) fuzz::Finding("Save refused a built model in full precision");
  std::vector<tool::Finding> findings = tool::SixDigitFindings(doc);
  const std::vector<tool::Finding> ambiguous = tool::AmbiguousBeamLoads(doc, TaV_PRECISION_SIX_DIGITS);
  findings.insert(findings.end(), ambiguous.begin(), ambiguous.end());
  for (const tool::Finding& finding : findings) {
    if (!model->contains(Json::json_pointer(finding.path))) {
      fuzz::Finding("a warning placed at \"" + finding.path + "\", which names no value of the model");
    }
  }
  try {
    CTavData again;
    json::BuildModel(json::ModelToJson(doc), again);
  } catch (const ModelError& error) {
    fuzz::Finding("the model file written from a built model does not build: " + error.Path() + ": " + error.what());
  }
  return 0;
}
