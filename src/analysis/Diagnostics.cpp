#include "analysis/Diagnostics.h"

#include "tav/util/FormatC.h"

namespace tav::analysis {

std::string Where(int line) { return line > 0 ? "line " + std::to_string(line) + ": " : ""; }

std::string NumberText(double value) { return FormatC("%.10g", value); }

std::string ListOf(const std::vector<size_t>& numbers) {
  std::string text;
  for (size_t i = 0; i < numbers.size(); ++i) {
    if (i > 0) text += i + 1 == numbers.size() ? " and " : ", ";
    text += std::to_string(numbers[i]);
  }
  return text;
}

}  // namespace tav::analysis
