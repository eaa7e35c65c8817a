// Running a writer (its Write) or one of its sections into a string.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "tav/writers/LineSink.h"

namespace tav::test {

template <typename Writer>
std::string WriteSection(const CTavData& doc, void (Writer::*section)()) {
  StringLineSink sink;
  Writer writer(doc, sink);
  (writer.*section)();
  return sink.Text();
}

// The lines of a written text, without their CR LF ends.
inline std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t begin = 0; begin < text.size();) {
    const size_t end = std::min(text.find("\r\n", begin), text.size());
    lines.push_back(text.substr(begin, end - begin));
    begin = end + 2;
  }
  return lines;
}

}  // namespace tav::test
