#include "tav/plot/HtmlReport.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <utility>

#include "support/TempDir.h"

namespace tav::plot {
namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

PlotResult Result(std::string name, bool mode, std::vector<Point> displacements) {
  PlotResult result;
  result.name = std::move(name);
  result.mode = mode;
  result.displacements = std::move(displacements);
  return result;
}

// A portal frame: two columns fixed and pinned at their feet, a girder, a
// gap link across; a static result and a mode.
ReportContent Portal() {
  ReportContent content;
  content.title = "Portal";
  PlotFrame& frame = content.frame;
  frame.joints = {{1, {0, 0, 0}, {true, true, true, true, true, true}, false},
                  {2, {0, 0, 3}, {}, false},
                  {3, {4, 0, 3}, {}, false},
                  {4, {4, 0, 0}, {true, true, true, false, false, false}, false}};
  frame.beams = {{1, 0, 1, {}, {}}, {2, 1, 2, {}, {}}, {3, 2, 3, {}, {}}};
  frame.links = {{1, 3}};
  content.results = {Result("Dead", false, {{0, 0, 0}, {0.01, 0, -0.002}, {0.01, 0, -0.003}, {0, 0, 0}}),
                     Result("Mode 1", true, {{0, 0, 0}, {1, 0, 0}, {1, 0, 0}, {0, 0, 0}})};
  return content;
}

TEST(HtmlReport, EscapesEveryNameAndInlinesEverything) {
  ReportContent content = Portal();
  content.title = "</script><b>&";
  content.frame.title = "</script>\"\\\n";
  content.results[0].name = "<!--";
  content.sections = {{"A<B",
                       "x < y & z\n",
                       {"<?xml version=\"1.0\"?>\n<svg id=\"one\"/>", "<svg id=\"two\"/>",
                        "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!DOCTYPE svg>\n<svg id=\"three\"/>"}}};
  content.scripts = {"var first = 1;", "var second = '</script>';"};
  const std::string html = BuildHtmlReport(content);

  for (const char* present : {
           "<title>&lt;/script&gt;&lt;b&gt;&amp;</title>",
           "<h1>&lt;/script&gt;&lt;b&gt;&amp;</h1>",
           "<h2>A&lt;B</h2>",
           "<pre>x &lt; y &amp; z\n</pre>",
           "<div class=\"picture\">\n<svg id=\"one\"/>",
           "<svg id=\"two\"/>\n</div>\n<div class=\"picture\">\n<svg id=\"three\"/>",
           "\"title\":\"\\u003c/script\\u003e\\\"\\\\\\u000a\"",
           "\"name\":\"\\u003c!--\"",
           "var second = '<\\/script>';",
       }) {
    EXPECT_TRUE(Contains(html, present)) << present;
  }
  for (const char* absent :
       {"<b>", "<?xml", "<!DOCTYPE svg", "\xEF\xBB\xBF", "<!--", "'</script>'", "src=\"http", "href=\"http", "<link"}) {
    EXPECT_FALSE(Contains(html, absent)) << absent;
  }
  EXPECT_LT(html.find("var first = 1;"), html.find("var second"));
  EXPECT_LT(html.find("id=\"view-canvas\""), html.find("<svg id=\"two\"/>"));  // the view first
}

TEST(HtmlReport, WritesNumbersThatReadBackAndOnlyFiniteOnes) {
  ReportContent content;
  content.frame.joints = {{7, {0.1, -2.5e-300, 1e21}, {}, true}};
  content.results = {Result("R", false, {{std::nan(""), 1.0 / 3.0, -0.0}})};
  const std::string html = BuildHtmlReport(content);
  EXPECT_TRUE(Contains(html,
                       "{\"number\":7,\"at\":[0.1,-2.5e-300,1e+21],\"restrained\":[false,false,false,false,false,"
                       "false],\"spring\":true}"));
  EXPECT_TRUE(Contains(html, "\"displacements\":[[0,0.3333333333333333,-0]]"));
}

bool HaveChromium() { return std::system("command -v chromium >/dev/null 2>&1") == 0; }

// Runs headless Chromium on `page` with WebGL in software; `output` is the
// option that says what it writes.
int RunChromium(const test::TempDir& dir, const std::string& page, const std::string& output) {
  const std::string command =
      "timeout 120 chromium --headless --no-sandbox --use-angle=swiftshader "
      "--enable-unsafe-swiftshader --window-size=1000,800 --virtual-time-budget=3000 "
      "--user-data-dir='" +
      dir.File("profile") + "' " + output + " 'file://" + page + "' 2>>'" + dir.File("chromium.log") + "'";
  return std::system(command.c_str());
}

// Pixels of the 3D view's clear colour (#eef2f6, which nothing else on the
// page has) show that WebGL drew; inside their bounds, the other pixels are
// the model.
struct CanvasPixels {
  int cleared = 0, drawn = 0;
};

CanvasPixels MeasureCanvas(const unsigned char* rgb, int width, int height) {
  const auto cleared = [&](int x, int y) {
    const unsigned char* p = rgb + 3 * (static_cast<size_t>(y) * width + x);
    return std::abs(p[0] - 0xee) <= 2 && std::abs(p[1] - 0xf2) <= 2 && std::abs(p[2] - 0xf6) <= 2;
  };
  CanvasPixels result;
  int left = width, right = -1, top = height, bottom = -1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (!cleared(x, y)) continue;
      ++result.cleared;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) result.drawn += cleared(x, y) ? 0 : 1;
  }
  return result;
}

TEST(HtmlReport, HeadlessBrowserDrawsTheFrameWithoutErrors) {
  if (!HaveChromium()) GTEST_SKIP() << "chromium is not installed";
  ReportContent content = Portal();
  content.scripts = {ReadText("/usr/share/javascript/three/three.min.js"),
                     ReadText("/usr/share/javascript/three/examples/js/controls/OrbitControls.js")};
  ASSERT_FALSE(content.scripts[0].empty() || content.scripts[1].empty()) << "libjs-three is missing";
  test::TempDir dir;
  const std::string page = dir.File("report.html");
  std::ofstream(page, std::ios::binary) << BuildHtmlReport(content);

  const std::string png = dir.File("view.png");
  ASSERT_EQ(RunChromium(dir, page, "--screenshot='" + png + "' >/dev/null"), 0) << ReadText(dir.File("chromium.log"));
  int width = 0, height = 0, channels = 0;
  const std::unique_ptr<unsigned char, void (*)(void*)> rgb(stbi_load(png.c_str(), &width, &height, &channels, 3),
                                                            stbi_image_free);
  ASSERT_NE(rgb, nullptr) << png;
  const CanvasPixels canvas = MeasureCanvas(rgb.get(), width, height);
  EXPECT_GT(canvas.cleared, width * height / 4);
  EXPECT_GT(canvas.drawn, 500);

  const std::string dom = dir.File("dom.html");
  ASSERT_EQ(RunChromium(dir, page, "--enable-logging=stderr --v=0 --dump-dom >'" + dom + "'"), 0)
      << ReadText(dir.File("chromium.log"));
  const std::string text = ReadText(dom);
  EXPECT_TRUE(Contains(text, "<pre id=\"errors\"></pre>"))
      << text.substr(std::min(text.size(), text.find("id=\"errors\"")), 2000);
  EXPECT_TRUE(Contains(text, "data-drawn=\"yes\""));
  EXPECT_FALSE(Contains(ReadText(dir.File("chromium.log")), ":CONSOLE")) << "the page wrote to the console";
  EXPECT_TRUE(Contains(text, "<option value=\"1\">Mode 1 (mode, animated)</option>"));
}

}  // namespace
}  // namespace tav::plot
