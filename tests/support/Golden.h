// Comparing written files with the expected bytes under tests/golden.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "tav/document/TavData.h"

namespace tav::test {

std::string ReadFileBytes(const std::string& path);
std::string GoldenPath(const std::string& name);

// Passes when `actual` equals the golden file byte for byte; otherwise
// reports the first differing line of both, with CR and LF made visible.
// With TAV_UPDATE_GOLDEN=1 in the environment the golden file is rewritten
// instead (review the diff before committing it).
::testing::AssertionResult MatchesGolden(const std::string& name, const std::string& actual);

// Joins lines with CR LF after each one, as the solver input files are.
std::string CrLfLines(std::initializer_list<const char*> lines);

// Saves `doc` in `format` to a fresh temporary file and returns its bytes.
std::string SaveToString(CTavData& doc, TaV_INPUT_FORMAT format);

}  // namespace tav::test
