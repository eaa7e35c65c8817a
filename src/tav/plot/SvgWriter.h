// SVG elements written onto a canvas of a fixed size. Every coordinate is
// clamped to the canvas and written as a finite number; text is escaped, so
// the document is well-formed whatever the names hold.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "tav/plot/Projection.h"

namespace tav::plot {

struct Pen {
  std::string_view colour = "#000000";
  double width = 1.0;
  std::string_view dash = "";  // stroke-dasharray; empty: solid
};

enum class Anchor { kStart, kMiddle, kEnd };

class SvgWriter {
 public:
  SvgWriter(int width, int height);

  double Width() const { return m_width; }
  double Height() const { return m_height; }

  void Line(Pixel a, Pixel b, const Pen& pen);
  void Polyline(std::span<const Pixel> points, const Pen& pen);
  // A closed shape; `fill` empty leaves it open.
  void Polygon(std::span<const Pixel> points, std::string_view fill, double fillOpacity, const Pen& pen);
  void Circle(Pixel centre, double radius, std::string_view fill, const Pen& pen);
  void Text(Pixel at, std::string_view text, double size, std::string_view colour, Anchor anchor = Anchor::kStart);

  // The complete document.
  std::string Finish();

 private:
  void Number(double value);
  void Coordinate(const char* name, double value, double high);
  void Points(std::span<const Pixel> points);
  void Stroke(const Pen& pen);

  double m_width, m_height;
  std::string m_out;
};

// `text` with &, <, > and quotes written as XML entities.
std::string EscapeXml(std::string_view text);

}  // namespace tav::plot
