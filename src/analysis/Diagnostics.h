// What the analysis tells its user: the error that stops it, the warnings
// and progress lines it reports on its way, and how its messages name the
// lines, numbers and lists they speak of.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tav::analysis {

// A problem with the input that the user can fix: the program reports it
// as an error line and stops.
class AnalysisError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Where warnings and progress lines go; either may be left empty.
struct Messages {
  std::function<void(const std::string&)> progress;
  std::function<void(const std::string&)> warning;

  void Progress(const std::string& text) const {
    if (progress) progress(text);
  }
  void Warn(const std::string& text) const {
    if (warning) warning(text);
  }
};

// "line 12: " before a message about a statement read there; nothing for
// line 0 (the input as a whole).
std::string Where(int line);
// A real as messages show it: ten significant digits.
std::string NumberText(double value);
// "1", "1 and 2", "1, 2 and 3".
std::string ListOf(const std::vector<size_t>& numbers);

}  // namespace tav::analysis
