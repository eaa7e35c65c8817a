// Fuzzes the reader of the own solver's binary output: any bytes, read into
// the small result model, must give 1 or 0 (after the message), never a
// crash, an exception or a write outside the result store; the queries then
// answer whatever was stored.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "FuzzTarget.h"
#include "tav/results/TavImportTavOutput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tav;
  const std::string& path = fuzz::TakeInput(data, size);

  CTavData doc;
  fuzz::BuildResultModel(doc, true);
  CTavImportTavOutput reader(&doc);
  const int read = reader.LoadData(path);
  if (read != 0 && read != 1) fuzz::Finding("LoadData gave " + std::to_string(read));
  fuzz::QueryResults(doc);
  return 0;
}
