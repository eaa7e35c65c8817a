// Where the writers of solver input put their lines. A writer hands over
// each line without its end; the sink ends it with CR LF, the line end of
// every solver input file. A line may itself hold line ends (some records
// of the Sap and Midas formats take two lines): they pass unchanged.
//
// A sink borrows what it writes into, which must outlive it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tav/platform/Archive.h"
#include "tav/platform/String.h"

namespace tav {

inline constexpr std::string_view kLineEnd = "\r\n";

class LineSink {
 public:
  virtual ~LineSink() = default;
  // Writes `text`, then the line end.
  virtual void Line(std::string_view text) = 0;
};

// Lines into an archive in store mode (a file being saved). A failed write
// arrives as the archive's FileError.
class ArchiveLineSink final : public LineSink {
 public:
  explicit ArchiveLineSink(CArchive& archive) : archive_(archive) {}
  void Line(std::string_view text) override;

 private:
  CArchive& archive_;
};

// Lines into a string it owns, for a host or a test that wants the text
// itself. The reference Text returns stays valid while the sink lives; the
// text it reads grows with each line.
class StringLineSink final : public LineSink {
 public:
  void Line(std::string_view text) override;
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// The own format's statements: one of 80 characters or more is re-flowed
// into lines that end with "*" in column 80, its tokens never split and
// each continuation line two blanks deeper than the first; a shorter one
// passes unchanged. Each resulting line goes on to the borrowed sink.
class WrappingLineSink final : public LineSink {
 public:
  explicit WrappingLineSink(LineSink& next) : next_(next) {}
  void Line(std::string_view statement) override;

 private:
  LineSink& next_;
};

// Lines formatted printf-style (Format's rules) into one text that is kept
// from line to line, so a file of millions of lines costs no allocation
// per line; each line goes on to the borrowed sink.
class LineBuilder {
 public:
  explicit LineBuilder(LineSink& sink) : sink_(sink) {}
  void Line(std::string_view text) { sink_.Line(text); }
  void Linef(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // The emptied text, for a line put together piece by piece; Finish hands
  // it on. The reference stays valid while the builder lives.
  CString& Start() {
    text_.clear();
    return text_;
  }
  void Finish() { sink_.Line(text_); }

 private:
  LineSink& sink_;
  CString text_;
};

// The lines, without their ends, that WrappingLineSink gives `statement`:
// the statement alone when it is shorter than 80 characters.
std::vector<std::string> WrapStatement(std::string_view statement);

}  // namespace tav
