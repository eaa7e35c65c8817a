// What `tav run` prints and writes after an analysis: a readable summary per
// load case and combination, and every result value as JSON or CSV. All of
// it reads a document whose results were imported; the document is borrowed
// for the call only.
#pragma once

#include <ostream>

#include "tav/model/TavData.h"

namespace tav::tool {

// Per load case and combination: the largest displacement and its joint,
// the sum of the reactions against the sum of the applied loads, and each
// beam group's member-force extremes with their beams.
void WriteSummary(const CTavData& doc, std::ostream& out);

// Every result value of every result case. JSON: {"cases": [{name, joints,
// beams}]}; CSV: one row per joint result kind or beam station.
void WriteResultsJson(const CTavData& doc, std::ostream& out);
void WriteResultsCsv(const CTavData& doc, std::ostream& out);

}  // namespace tav::tool
