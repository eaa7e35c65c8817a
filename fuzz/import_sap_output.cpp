// Fuzzes the reader of the Sap output report: any text, read into the small
// result model, must give 1 or 0, never a crash, an exception or a write
// outside the result store; the progress it reports stays within the range
// it set, and the queries then answer whatever was stored.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "FuzzTarget.h"
#include "tav/results/TavImportSapOutput.h"

namespace {

// Checks that every position lies in the range set before it.
class CheckedProgress : public tav::CProgressBar {
 public:
  void SetRange(int32_t lower, int32_t upper) override {
    if (lower > upper) tav::fuzz::Finding("the progress range runs backwards");
    m_lower = lower;
    m_upper = upper;
    m_ranged = true;
  }
  void SetPos(int32_t position) override {
    if (!m_ranged) tav::fuzz::Finding("a progress position before the range");
    if (position < m_lower || position > m_upper) {
      tav::fuzz::Finding("progress position " + std::to_string(position) + " outside " + std::to_string(m_lower) +
                         " to " + std::to_string(m_upper));
    }
  }

 private:
  int32_t m_lower = 0;
  int32_t m_upper = 0;
  bool m_ranged = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tav;
  const std::string& path = fuzz::TakeInput(data, size);

  CTavData doc;
  fuzz::BuildResultModel(doc, false);
  CheckedProgress progress;
  CTavImportSapOutput reader(&doc);
  reader.m_pProgress = &progress;
  const int read = reader.LoadData(path);
  if (read != 0 && read != 1) fuzz::Finding("LoadData gave " + std::to_string(read));
  fuzz::QueryResults(doc);
  return 0;
}
