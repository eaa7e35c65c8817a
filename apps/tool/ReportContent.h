// What `tav report` puts in its HTML file, made from an analysed document:
// the model's and the results' text as `tav run` prints them, a picture of
// the model and of each result case and mode, and the deformed shapes of
// the 3D view. The document is borrowed for the call only (its range of the
// last CalcMaxMin_Beam changes).
#pragma once

#include <string>
#include <vector>

#include "tav/document/TavData.h"
#include "tav/plot/HtmlReport.h"
#include "tool/ResultCases.h"

namespace tav::tool {

// `modelText` and `resultsText` are shown as they are; `scripts` are the 3D
// library's sources.
plot::ReportContent ReportOf(CTavData& doc, const std::string& modelText, const std::string& resultsText,
                             const FailedCases& failed, std::vector<std::string> scripts);

}  // namespace tav::tool
