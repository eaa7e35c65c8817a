// What `tav run` prints and writes after an analysis: a readable summary per
// load case and combination, and every result value as JSON or CSV. All of
// it reads a document whose results were imported; the document is borrowed
// for the call only.
#pragma once

#include <ostream>

#include "tav/document/TavData.h"
#include "tool/ResultCases.h"

namespace tav::tool {

// The modes' periods, frequencies and mass ratios when the document holds
// modes; then per result case (ResultCases.h): the largest displacement and
// its joint, the sum of the reactions against the sum of the applied loads
// (self weight included) or, where the values do not act together (peaks,
// envelopes, magnitudes), each reaction's extremes over the supports, and
// each beam group's member-force extremes with their beams.
void WriteSummary(const CTavData& doc, std::ostream& out, const FailedCases& failed = {});

// Every result value of every result case: joints' reactions and
// displacements, beams' stations as far as each beam has them; then the
// modes. JSON: {"cases": [{name, kind, values, joints, beams}], "modes":
// [{mode, period, frequency, circularFrequency, participation, massRatio,
// shape: [{joint, displacement}]}], "histories": [{case, dt, times,
// displacements, reactions}]} ("values" is "peak" for a history case and
// "max" or "min" for a moving case's envelopes; "modes" only when there are
// modes, "histories" when there are history cases: per step, per joint, six
// values), a failed case as {name, kind, error} and a failed history as
// {case, error}; CSV: one row per joint result kind or beam station (a
// history case's "peak reaction", "peak displacement", "peak member
// force"), none for a failed case; per mode a "period" row (period,
// frequency, circular frequency), a "participation" and a "mass ratio" row
// and a "shape" row per joint.
void WriteResultsJson(const CTavData& doc, std::ostream& out, const FailedCases& failed = {});
void WriteResultsCsv(const CTavData& doc, std::ostream& out, const FailedCases& failed = {});

// Every history case's time series as CSV: the columns "case", "time", each
// joint's displacements ("joint 1 UX" ... "joint 1 RZ", joint after joint),
// then each supported joint's reactions ("joint 1 reaction FX" ... "MZ");
// one row per case and step, from time 0 on, none for a failed case.
void WriteHistoriesCsv(const CTavData& doc, std::ostream& out, const FailedCases& failed = {});

}  // namespace tav::tool
