// Fuzzes the reader of the modal file: any bytes, read for the small result
// model, must give 1 or 0 with a reason, never a crash or an exception; on
// 0 the modes read before stay, on 1 every query answers within the counts.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "FuzzTarget.h"
#include "tav/results/TavImportTavModes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tav;
  const std::string& path = fuzz::TakeInput(data, size);

  CTavData doc;
  fuzz::BuildResultModel(doc, true);
  CString problem;
  const int read = CTavImportTavModes(&doc).LoadData(path, &problem);
  if (read == 0 && (problem.empty() || doc.GetCountMode() != 0)) fuzz::Finding("refused without reason or kept modes");
  if (read != 0 && read != 1) fuzz::Finding("LoadData gave " + std::to_string(read));
  double sum = 0;
  for (int32_t mode = 0; mode < doc.GetCountMode(); ++mode) {
    sum += doc.GetModePeriod(mode) + doc.GetModeCumulativeMassRatio(mode, 5);
    for (int32_t joint = 0; joint < doc.GetCountJoint(); ++joint) sum += doc.GetModeShape(joint, mode)[5];
  }
  volatile double sink = sum;  // every query's value is used
  (void)sink;
  return 0;
}
