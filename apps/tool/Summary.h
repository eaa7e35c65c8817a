// What `tav run` prints and writes after an analysis: a readable summary per
// load case and combination, and every result value as JSON or CSV. All of
// it reads a document whose results were imported; the document is borrowed
// for the call only.
#pragma once

#include <map>
#include <ostream>
#include <string>

#include "tav/document/TavData.h"

namespace tav::tool {

// The static cases the analysis could not solve (0-based), each with what
// the analysis said; their results, and those of every combination that
// takes them in, are not shown.
using FailedCases = std::map<int32_t, std::string>;

// The modes' periods, frequencies and mass ratios when the document holds
// modes; then per load case and combination: the largest displacement and
// its joint, the sum of the reactions against the sum of the applied loads
// (self weight included), and each beam group's member-force extremes with
// their beams.
void WriteSummary(const CTavData& doc, std::ostream& out, const FailedCases& failed = {});

// Every result value of every result case: joints' reactions and
// displacements, beams' stations as far as each beam has them; then the
// modes. JSON: {"cases": [{name, kind, joints, beams}], "modes": [{mode,
// period, frequency, circularFrequency, participation, massRatio, shape:
// [{joint, displacement}]}]} ("modes" only when there are modes), a failed
// case as {name, kind, error}; CSV: one row per joint result kind or beam
// station, none for a failed case; per mode a "period" row (period,
// frequency, circular frequency), a "participation" and a "mass ratio" row
// and a "shape" row per joint.
void WriteResultsJson(const CTavData& doc, std::ostream& out, const FailedCases& failed = {});
void WriteResultsCsv(const CTavData& doc, std::ostream& out, const FailedCases& failed = {});

}  // namespace tav::tool
