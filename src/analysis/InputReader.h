// Reading the own solver input into an InputDeck.
//
// The reader is strict: every statement the model writers produce is
// understood, and anything else (an unknown statement or keyword, a
// statement out of its place, a malformed number, a missing key, a number
// that refers to nothing) stops the reading with an InputError that names
// the line. A statement wrapped over several lines is reported at its first
// line.
//
// Reals may be written in six significant digits ("%g") or in full precision
// (the shortest text that reads back to the same double), in one file alike.
// For joint coordinates, roll angles and the extents of beam load pieces the
// deck also keeps the resolution of their text: half a unit in the last
// digit the text stands for, which for a text of six significant digits or
// fewer is the sixth ("%g" drops the zeros that end its digits), and 0 for a
// text of zero.
#pragma once

#include <istream>
#include <stdexcept>
#include <string>

#include "analysis/InputDeck.h"

namespace tav::analysis {

class InputError : public std::runtime_error {
 public:
  // what() reads "line 12: unknown statement \"FOO\"", or the message alone
  // when `line` is 0 (the input as a whole, e.g. a file that cannot be
  // opened).
  InputError(int line, const std::string& message);
  int Line() const { return m_line; }

 private:
  int m_line = 0;
};

// Reads a whole input; lines may end in CR LF or LF. Throws InputError.
InputDeck ReadInput(std::istream& in);
// Reads the input file at `path`. Throws InputError, with line 0 when the
// file cannot be opened.
InputDeck ReadInputFile(const std::string& path);

}  // namespace tav::analysis
