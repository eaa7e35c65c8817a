// The script of the report's 3D view: it reads the model from the page's
// "view-model" JSON element and draws it with three.js (r111, its
// OrbitControls included before it).
#pragma once

#include <string_view>

namespace tav::plot {

std::string_view HtmlReportViewerScript();

}  // namespace tav::plot
