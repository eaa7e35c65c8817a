#include "tool/ReportContent.h"

#include <algorithm>

#include "tav/plot/SvgPlot.h"
#include "tool/Pictures.h"

namespace tav::tool {
namespace {

// A report of a large model stays readable: the pictures stop here.
constexpr size_t kPicturedCases = 8;
constexpr int32_t kPicturedModes = 4;

}  // namespace

plot::ReportContent ReportOf(CTavData& doc, const std::string& modelText, const std::string& resultsText,
                             const FailedCases& failed, std::vector<std::string> scripts) {
  plot::ReportContent content;
  content.title = doc.GetTitle().empty() ? "tav report" : doc.GetTitle();
  content.frame = FrameOf(doc, doc.GetCountStaticLoad() > 0 ? 0 : -1);
  content.scripts = std::move(scripts);
  const plot::PlotView view = *plot::NamedView("iso");
  const plot::PlotStyle style;
  content.sections.push_back({"Model", modelText, {plot::DrawFrame(content.frame, view, style)}});

  plot::ReportSection results{"Results", resultsText, {}};
  const plot::PlotFrame bare = FrameOf(doc, -1);
  for (const ResultCase& c : ResultCases(doc, failed)) {
    if (!c.failure.empty()) continue;
    plot::PlotResult result = ResultOf(doc, c, plot::ForceComponent::kM3);
    if (results.pictures.size() < kPicturedCases)
      results.pictures.push_back(plot::DrawResult(bare, result, view, style));
    result.stations.clear();  // the 3D view shows shapes only
    content.results.push_back(std::move(result));
  }
  const auto modes = static_cast<int32_t>(doc.GetModalResults().modes.size());
  for (int32_t m = 0; m < modes; ++m) {
    plot::PlotResult mode = ModeOf(doc, m);
    if (m < kPicturedModes) results.pictures.push_back(plot::DrawResult(bare, mode, view, style));
    content.results.push_back(std::move(mode));
  }
  content.sections.push_back(std::move(results));
  return content;
}

}  // namespace tav::tool
