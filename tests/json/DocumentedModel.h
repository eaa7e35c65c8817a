// The complete example of the model format's documentation, as written there.
#pragma once

#include <string>

#include "support/Golden.h"

namespace tav::test {

inline std::string DocumentedModel() {
  const std::string doc = ReadFileBytes(TAV_DOCS_DIR "/model-format.md");
  const size_t begin = doc.rfind("```json\n");
  const size_t end = begin == std::string::npos ? begin : doc.find("```", begin + 8);
  return end == std::string::npos ? std::string() : doc.substr(begin + 8, end - begin - 8);
}

}  // namespace tav::test
