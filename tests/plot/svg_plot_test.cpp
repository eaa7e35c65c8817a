// The pictures checked as a reader sees them: rendered by librsvg and read
// back as pixels, and as text against the canvas bounds.
#include "tav/plot/SvgPlot.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <memory>
#include <regex>

#include "support/TempDir.h"

namespace tav::plot {
namespace {

bool Have(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Save(const test::TempDir& dir, const std::string& svg) {
  const std::string path = dir.File("picture.svg");
  std::ofstream(path, std::ios::binary) << svg;
  return path;
}

// The exit status of `program` run on the saved picture.
int Shell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

struct Image {
  int width = 0, height = 0;
  std::vector<unsigned char> rgba;
  std::size_t Index(int x, int y) const {
    return 4 * (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x));
  }
  std::array<int, 3> At(int x, int y) const {
    const std::size_t k = Index(x, y);
    return {rgba[k], rgba[k + 1], rgba[k + 2]};
  }
  bool Painted(int x, int y) const { return rgba[Index(x, y) + 3] != 0; }
};

Image Render(const std::string& svg) {
  test::TempDir dir;
  const std::string png = dir.File("picture.png");
  EXPECT_EQ(Shell("rsvg-convert -o '" + png + "' '" + Save(dir, svg) + "'"), 0);
  Image image;
  int channels = 0;
  const std::unique_ptr<unsigned char, void (*)(void*)> pixels(
      stbi_load(png.c_str(), &image.width, &image.height, &channels, 4), stbi_image_free);
  if (pixels) image.rgba.assign(pixels.get(), pixels.get() + 4 * image.width * image.height);
  return image;
}

// The picture placed in the middle of a transparent canvas three times its
// size, so that whatever it draws beyond its own canvas shows.
std::string OnLargerCanvas(const std::string& svg, int width, int height) {
  const std::string own = "width=\"" + std::to_string(width) + "\" height=\"" + std::to_string(height) +
                          "\" viewBox=\"0 0 " + std::to_string(width) + " " + std::to_string(height) + "\"";
  const std::size_t at = svg.find(own);
  EXPECT_NE(at, std::string::npos) << own;
  if (at == std::string::npos) return svg;
  const std::string larger = "width=\"" + std::to_string(3 * width) + "\" height=\"" + std::to_string(3 * height) +
                             "\" viewBox=\"" + std::to_string(-width) + " " + std::to_string(-height) + " " +
                             std::to_string(3 * width) + " " + std::to_string(3 * height) + "\"";
  return std::string(svg).replace(at, own.size(), larger);
}

// Pixels painted outside the middle third of a picture OnLargerCanvas.
int PaintedOutside(const Image& image) {
  int count = 0;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const bool inside =
          x >= image.width / 3 && x < 2 * image.width / 3 && y >= image.height / 3 && y < 2 * image.height / 3;
      if (!inside && image.Painted(x, y)) ++count;
    }
  }
  return count;
}

bool Vermillion(std::array<int, 3> c) { return c[0] > 170 && c[1] > 50 && c[1] < 140 && c[2] < 80; }
bool Bluish(std::array<int, 3> c) { return c[2] > c[0] + 30; }
bool Grey(std::array<int, 3> c) { return c[0] < 235 && std::abs(c[0] - c[1]) < 8 && std::abs(c[1] - c[2]) < 8; }
bool White(std::array<int, 3> c) { return c[0] > 245 && c[1] > 245 && c[2] > 245; }

bool NearColour(const Image& image, double x, double y, int radius, bool (*colour)(std::array<int, 3>)) {
  for (int py = static_cast<int>(y) - radius; py <= static_cast<int>(y) + radius; ++py) {
    for (int px = static_cast<int>(x) - radius; px <= static_cast<int>(x) + radius; ++px) {
      if (px >= 0 && py >= 0 && px < image.width && py < image.height && colour(image.At(px, py))) return true;
    }
  }
  return false;
}

// A beam drawn as a horizontal line: the row and the ends of the longest
// run of grey pixels.
struct GreyRun {
  int row = -1, from = 0, to = 0;
};
GreyRun LongestGreyRun(const Image& image) {
  GreyRun best;
  for (int y = 0; y < image.height; ++y) {
    int start = -1;
    for (int x = 0; x <= image.width; ++x) {
      const bool grey = x < image.width && Grey(image.At(x, y));
      if (grey && start < 0) start = x;
      if (!grey && start >= 0) {
        if (x - start > best.to - best.from) best = {y, start, x - 1};
        start = -1;
      }
    }
  }
  return best;
}

PlotFrame TwoJointBeam(double length, Point axis2, Point axis3) {
  PlotFrame frame;
  frame.title = "beam";
  frame.joints = {{1, {0, 0, 0}, {true, true, true, true, true, true}, false}, {2, {length, 0, 0}, {}, false}};
  frame.beams = {{1, 0, 1, axis2, axis3}};
  return frame;
}

constexpr const char* kNoRenderer = "rsvg-convert (librsvg2-bin) is not installed";

TEST(SvgPlotTest, DeformedTipIsWhereTheStatedScalePutsIt) {
  if (!Have("rsvg-convert")) GTEST_SKIP() << kNoRenderer;
  const double length = 4.0;
  const Point tip{0.01, 0.0, -0.05};
  const PlotFrame frame = TwoJointBeam(length, {0, 0, 1}, {0, -1, 0});
  PlotResult result;
  result.name = "dead";
  result.displacements = {{0, 0, 0}, tip};
  const std::string svg = DrawResult(frame, result, *NamedView("xz"), PlotStyle{});
  std::smatch stated;
  ASSERT_TRUE(std::regex_search(svg, stated, std::regex("deformed x ([0-9.e+-]+)")));
  const double scale = std::stod(stated[1]);

  const Image image = Render(svg);
  ASSERT_EQ(image.width, 800);
  const GreyRun beam = LongestGreyRun(image);
  ASSERT_GT(beam.to - beam.from, 300);
  int root = 0;  // the root is under the deformed line's start: the first drawn pixel of the row
  while (root < image.width && White(image.At(root, beam.row))) ++root;
  const double pixels = (beam.to + 1 - root) / length;  // per world unit, from the drawn beam
  const double x = root + pixels * (length + scale * tip[0]);
  const double y = beam.row + 0.5 - pixels * scale * tip[2];  // Z up, pixel rows down
  EXPECT_TRUE(NearColour(image, x, y, 3, Vermillion)) << x << "," << y;
  EXPECT_FALSE(NearColour(image, x + 12, y + 12 * (y - beam.row) / (x - root), 3, Vermillion)) << "beyond the tip";
  EXPECT_FALSE(NearColour(image, beam.to, beam.row, 3, Vermillion)) << "at the undeformed tip";
}

// A host's arrow scale (the library's CalcJointReaction_Arrow gives one)
// sets the arrows' drawn length: the reaction of `value` at `length`.
TEST(SvgPlotTest, ArrowsTakeTheHostsScale) {
  if (!Have("rsvg-convert")) GTEST_SKIP() << kNoRenderer;
  const double length = 4.0;
  const PlotFrame frame = TwoJointBeam(length, {0, 0, 1}, {0, -1, 0});
  const auto green = [](std::array<int, 3> c) { return c[1] > 110 && c[0] < 90 && c[2] > 70 && c[2] < 170; };
  for (const double drawn : {1.0, 2.0}) {
    PlotResult result;
    result.name = "R";
    result.reactions = {{{0, 0, 0}, {0, 0, 10.0}, false}};
    result.reactionScale = {drawn, 10.0};
    const Image image = Render(DrawResult(frame, result, *NamedView("xz"), PlotStyle{}));
    const GreyRun beam = LongestGreyRun(image);
    const double pixels = (beam.to + 1 - beam.from) / length;
    int top = image.height, bottom = -1;
    for (int y = 0; y < image.height; ++y) {
      for (int x = std::max(beam.from - 4, 0); x <= beam.from + 4; ++x) {
        if (!green(image.At(x, y))) continue;
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
    EXPECT_NEAR(bottom - top, drawn * pixels, 6.0) << drawn;
  }
}

// A parabola of values on a simply supported beam along X (axis 2 = +Z,
// axis 3 = -Y): its peak at midspan, on the side the header states.
TEST(SvgPlotTest, DiagramPeaksAtMidspanOnItsSide) {
  if (!Have("rsvg-convert")) GTEST_SKIP() << kNoRenderer;
  struct Case {
    ForceComponent component;
    const char* view;
    bool below;  // on the screen
  };
  const Case cases[] = {
      {ForceComponent::kM3, "xz", true},                                      // sagging: towards -axis 2, down
      {ForceComponent::kV2, "xz", false},                                     // towards +axis 2, up
      {ForceComponent::kN, "xz", false},  {ForceComponent::kM2, "xy", true},  // towards +axis 3 = -Y, down in plan
      {ForceComponent::kV3, "xy", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.view + std::to_string(static_cast<int>(c.component)));
    PlotResult result;
    result.component = c.component;
    result.stations.emplace_back();
    for (int s = 0; s <= 10; ++s) result.stations[0].push_back(400.0 * s / 10 * (1 - s / 10.0));
    const Image image = Render(DrawResult(TwoJointBeam(6.0, {0, 0, 1}, {0, -1, 0}), result, *NamedView(c.view), {}));
    const GreyRun beam = LongestGreyRun(image);
    ASSERT_GT(beam.to - beam.from, 300);
    std::vector<int> depth(static_cast<std::size_t>(image.width), 0);  // blue pixels' reach from the beam
    for (int x = beam.from; x <= beam.to; ++x) {
      for (int y = 0; y < image.height; ++y) {
        if (!Bluish(image.At(x, y)) || std::abs(y - beam.row) < 3) continue;
        EXPECT_EQ(y > beam.row, c.below) << "column " << x << " row " << y;
        depth[static_cast<std::size_t>(x)] = std::max(depth[static_cast<std::size_t>(x)], std::abs(y - beam.row));
      }
    }
    // The polygon's top is flat within a pixel near the peak: take the middle of those columns.
    int deepest = 0;
    for (const int d : depth) deepest = std::max(deepest, d);
    std::vector<int> top;
    for (std::size_t x = 0; x < depth.size(); ++x) {
      if (depth[x] >= deepest - 1) top.push_back(static_cast<int>(x));
    }
    EXPECT_NEAR(0.5 * (top.front() + top.back()), 0.5 * (beam.from + beam.to), 3.0);
    const double quarter = depth[static_cast<std::size_t>(beam.from + (beam.to - beam.from) / 4)];
    EXPECT_NEAR(quarter / deepest, 0.75, 0.05);
  }
}

// The values of the attributes `names` (a regex alternation) of every element.
std::vector<double> Coordinates(const std::string& svg, const char* names) {
  std::vector<double> values;
  const std::regex attribute(std::string(" (") + names + ")=\"([^\"]*)\"");
  for (auto m = std::sregex_iterator(svg.begin(), svg.end(), attribute); m != std::sregex_iterator(); ++m) {
    std::string text = (*m)[2];
    for (char& c : text) c = c == ',' ? ' ' : c;
    std::istringstream numbers(text);
    for (double v = 0; numbers >> v;) values.push_back(v);
  }
  return values;
}

PlotFrame Busy() {
  PlotFrame frame = TwoJointBeam(5.0, {0, 0, 1}, {0, -1, 0});
  frame.title = "A long title, wider than a small canvas: WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW \xc3\xa9\xc3\xa9";
  frame.joints.push_back({3, {5, 0, 3}, {true, true, false, false, false, false}, true});
  frame.joints.push_back({4, {0, 0, 3}, {false, false, false, true, false, false}, false});
  frame.beams.push_back({2, 1, 2, {-1, 0, 0}, {0, -1, 0}});
  frame.beams.push_back({3, 2, 3, {0, 0, 1}, {0, -1, 0}});
  frame.links.push_back({0, 2});
  frame.diaphragms.push_back({3, 2, 0});
  frame.loadCase = "wind & <snow>";
  frame.loads = {{{0, 0, 3}, {1e6, 0, 0}, false}, {{5, 0, 3}, {0, 0, -4e6}, false}, {{5, 0, 0}, {0, 3e6, 0}, true}};
  return frame;
}

TEST(SvgPlotTest, EverythingStaysOnTheCanvas) {
  const PlotFrame frame = Busy();
  PlotResult result;
  result.name = "ULS <1>";
  result.displacements = {{0, 0, 0}, {0.5, 0, -0.1}, {0.4, 0.2, 0}, {-9, 0, 0}};
  result.stations = {{-50, 10, 90}, {7}, {1e9, -1e9}};
  result.reactions = {{{0, 0, 0}, {-5, 0, 20}, false}, {{0, 0, 0}, {0, 40, 0}, true}};
  const bool render = Have("rsvg-convert");
  for (const auto& [view, width, height, marks] : {std::tuple{"iso", 900, 500, true},
                                                   {"xz", 900, 500, false},
                                                   {"yz", 300, 200, true},
                                                   {"xy", 300, 200, true},
                                                   {"xz", 200, 900, true}}) {
    PlotStyle style;
    style.width = width;
    style.height = height;
    style.jointNumbers = style.beamNumbers = style.localAxes = marks;
    for (const std::string& svg :
         {DrawFrame(frame, *NamedView(view), style), DrawResult(frame, result, *NamedView(view), style)}) {
      // Shapes are fitted inside the canvas, off its edges; text is kept inside by its anchor.
      for (const double x : Coordinates(svg, "x1|x2|cx")) EXPECT_TRUE(x > 0 && x < width) << view << " " << x;
      for (const double y : Coordinates(svg, "y1|y2|cy")) EXPECT_TRUE(y > 0 && y < height) << view << " " << y;
      const std::vector<double> points = Coordinates(svg, "points");
      for (std::size_t k = 0; k < points.size(); ++k) {
        EXPECT_TRUE(points[k] >= 0 && points[k] <= (k % 2 ? height : width)) << view << " " << points[k];
      }
      for (const double x : Coordinates(svg, "x")) EXPECT_TRUE(x >= 0 && x <= width) << view;
      for (const double y : Coordinates(svg, "y")) EXPECT_TRUE(y >= 0 && y <= height) << view;
      if (render) {
        EXPECT_EQ(PaintedOutside(Render(OnLargerCanvas(svg, width, height))), 0) << view;
      }
    }
  }
}

TEST(SvgPlotTest, NamesAreEscapedAndExtremesLabelled) {
  PlotResult result;
  result.name = "A&B <C>";
  result.stations = {{-1.5, 2.25, 123456789}};
  const std::string svg = DrawResult(TwoJointBeam(1.0, {0, 0, 1}, {0, -1, 0}), result, {}, {});
  EXPECT_NE(svg.find("A&amp;B &lt;C&gt;"), std::string::npos);
  EXPECT_NE(svg.find(">1.23457e+08</text>"), std::string::npos);
  EXPECT_NE(svg.find(">-1.5</text>"), std::string::npos);
  EXPECT_EQ(svg.find(">2.25</text>"), std::string::npos);
  EXPECT_NE(DrawFrame(Busy(), {}, {}).find("wind &amp; &lt;snow&gt;"), std::string::npos);
}

TEST(SvgPlotTest, DegenerateInputsGiveValidDocuments) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    const char* name;
    PlotFrame frame;
    PlotResult result;
    PlotStyle style;
    PlotView view;
  };
  PlotFrame point = TwoJointBeam(0.0, {0, 0, 0}, {0, 0, 0});
  point.loadCase = "zero";
  point.loads = {{{0, 0, 0}, {0, 0, 0}, false}, {{0, 0, 0}, {0, 0, 0}, true}};
  PlotFrame broken = TwoJointBeam(1.0, {nan, 0, 0}, {0, inf, 0});
  broken.title = std::string("bad \x01 bytes \xff\xfe & \xc3\xa9");
  broken.beams.push_back({2, 0, 7, {}, {}});
  broken.beams.push_back({3, -1, 1, {}, {}});
  broken.links.push_back({5, 0});
  broken.diaphragms = {{}, {9, 0}, {0, 9}};
  broken.joints.push_back({3, {nan, 1, inf}, {}, true});
  broken.loadCase = "x";
  broken.loads = {{{nan, 0, 0}, {1, 0, 0}, false}, {{0, 0, 0}, {inf, 0, 0}, true}, {{1, 0, 0}, {0, 1, 0}, false}};
  PlotResult wild;
  wild.displacements = {{nan, 0, 0}, {inf, 1, 1}, {1, 1, 1}, {2, 2, 2}, {3, 3, 3}};
  wild.stations = {{nan, inf, -inf}, {}, {1}, {2}};
  wild.reference = nan;
  wild.reactions = {{{0, 0, 0}, {nan, 1, 0}, false}};
  PlotResult shortLists;
  shortLists.displacements = {{1, 0, 0}};
  shortLists.stations = {{5}};
  PlotStyle tiny;
  tiny.width = 0;
  tiny.height = -3;
  tiny.deformedScale = inf;
  tiny.jointNumbers = tiny.beamNumbers = tiny.localAxes = true;
  const Case cases[] = {
      {"empty", {}, {}, {}, {}},
      {"one joint",
       {"", {{1, {2, 3, 4}, {true, true, true, true, true, true}, true}}, {}, {}, {}, "", {}, {}},
       {},
       {},
       {}},
      {"all joints at one point", point, shortLists, {}, {}},
      {"broken indices and numbers", broken, wild, {}, {nan, inf}},
      {"tiny canvas", Busy(), wild, tiny, {}},
      {"straight down", Busy(), shortLists, {}, {0, 90}},
  };
  const bool render = Have("rsvg-convert");
  const bool lint = Have("xmllint");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const std::string& svg :
         {DrawFrame(c.frame, c.view, c.style), DrawResult(c.frame, c.result, c.view, c.style)}) {
      EXPECT_TRUE(svg.starts_with("<?xml")) << svg;
      EXPECT_TRUE(svg.ends_with("</svg>\n")) << svg;
      EXPECT_FALSE(std::regex_search(svg, std::regex("nan|inf", std::regex::icase))) << svg;
      test::TempDir dir;
      const std::string path = Save(dir, svg);
      if (lint) {
        EXPECT_EQ(Shell("xmllint --noout '" + path + "'"), 0) << svg;
      }
      if (render) {
        EXPECT_EQ(Shell("rsvg-convert -o '" + dir.File("p.png") + "' '" + path + "'"), 0) << svg;
      }
    }
  }
}

}  // namespace
}  // namespace tav::plot
