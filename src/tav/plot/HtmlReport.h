// One self-contained HTML file: an interactive 3D view of the frame and its
// deformed shapes (rotate, zoom, choose the result, scale slider; modes
// animated), then the model's summary and result tables and its pictures.
// Nothing is fetched when it is opened: the 3D library's scripts are given
// here and inlined.
#pragma once

#include <string>
#include <vector>

#include "tav/plot/PlotData.h"

namespace tav::plot {

struct ReportSection {
  std::string heading;
  std::string preformatted;           // text shown as it is (tables), HTML-escaped here
  std::vector<std::string> pictures;  // SVG documents, inlined
};

struct ReportContent {
  std::string title;
  std::vector<ReportSection> sections;
  PlotFrame frame;                   // for the 3D view
  std::vector<PlotResult> results;   // the deformed shapes to choose from
  std::vector<std::string> scripts;  // the 3D library's JavaScript sources, inlined in this order
};

std::string BuildHtmlReport(const ReportContent& content);

}  // namespace tav::plot
