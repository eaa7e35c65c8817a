// Fuzzes the model archive: any bytes either load (1) or are refused (0)
// with a reason; a loaded model must then write in all three solver input
// formats and size its result store without a crash or an exception.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "FuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tav;
  const std::string& path = fuzz::TakeInput(data, size);

  CTavData doc;
  CString error;
  const int loaded = doc.LoadArchive(path, &error);
  if (loaded == 0) {
    if (error.empty()) fuzz::Finding("LoadArchive refused the archive without a reason");
    return 0;
  }
  if (loaded != 1) fuzz::Finding("LoadArchive gave " + std::to_string(loaded));
  for (const TaV_INPUT_FORMAT format : {TaV_FORMAT_TAV, TaV_FORMAT_SAP, TaV_FORMAT_MIDAS}) {
    if (doc.Save("/dev/null", format) != 1) fuzz::Finding("Save refused a loaded model");
  }
  doc.AllocResultForceBuff();
  return 0;
}
