#include "tav/writers/LineSink.h"

#include <algorithm>
#include <cstdarg>

#include "tav/platform/Format.h"
#include "tav/platform/String.h"

namespace tav {
namespace {

// A statement this long or longer is re-flowed; shorter ones pass unchanged.
constexpr size_t kWrapThreshold = 80;
// A line may hold this much before the next token moves to a new line.
constexpr size_t kLineRoom = 78;
// The continuation mark stands in the column after this one.
constexpr size_t kMarkColumn = 79;
// Continuation lines are indented this much deeper than the first.
constexpr size_t kContinuationIndent = 2;

}  // namespace

void ArchiveLineSink::Line(std::string_view text) {
  archive_.WriteString(text);
  archive_.WriteString(kLineEnd);
}

void StringLineSink::Line(std::string_view text) {
  text_ += text;
  text_ += kLineEnd;
}

void LineBuilder::Linef(const char* format, ...) {
  va_list args;
  va_start(args, format);
  text_.clear();
  try {
    AppendFormatV(text_, format, args);
    va_end(args);
  } catch (...) {
    va_end(args);
    throw;
  }
  sink_.Line(text_);
}

void WrappingLineSink::Line(std::string_view statement) {
  if (statement.size() < kWrapThreshold) {
    next_.Line(statement);
    return;
  }
  for (const std::string& line : WrapStatement(statement)) next_.Line(line);
}

// The first line keeps the statement's indent (as blanks); a token that
// would pass the room left closes the line with the mark, even when the
// line is still empty, and a token longer than the room carries the mark
// beyond column 80.
std::vector<std::string> WrapStatement(std::string_view statement) {
  if (statement.size() < kWrapThreshold) return {std::string(statement)};
  const size_t indent = std::min(statement.find_first_not_of(" \t\r\n\v\f"), statement.size());
  CStringArray tokens;
  SplitAtBlanks(CString(statement.substr(indent)), tokens);
  std::vector<std::string> lines;
  std::string line(indent, ' ');
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (line.size() + tokens[i].size() > kLineRoom) {
      if (line.size() < kMarkColumn) line.resize(kMarkColumn, ' ');
      line += '*';
      lines.push_back(std::move(line));
      line.assign(kContinuationIndent + indent, ' ');
    }
    line += tokens[i];
    if (i + 1 < tokens.size()) line += ' ';
  }
  lines.push_back(std::move(line));
  return lines;
}

}  // namespace tav
