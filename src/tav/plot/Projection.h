// The orthographic view of a picture and its fit to the canvas: world points
// are collected first, then the view is scaled and centred so that all of
// them land inside the drawing area.
#pragma once

#include <array>

#include "tav/plot/PlotData.h"

namespace tav::plot {

using Pixel = std::array<double, 2>;  // x right, y down, in canvas pixels

// The part of the canvas the fitted points may occupy.
struct Area {
  double left = 0, top = 0, right = 0, bottom = 0;
};

class Projection {
 public:
  explicit Projection(const PlotView& view);

  // Widens the box that the fit must hold; non-finite points are ignored.
  void Include(const Point& p);
  // Scales and centres the box collected so far in `area`.
  void Fit(const Area& area);

  Pixel ToPixel(const Point& p) const;
  // Pixels per world unit after the fit.
  double Scale() const { return m_scale; }

 private:
  std::array<double, 2> Plane(const Point& p) const;

  Point m_right{}, m_up{};
  double m_minX = 0, m_maxX = 0, m_minY = 0, m_maxY = 0;
  bool m_empty = true;
  double m_scale = 1, m_originX = 0, m_originY = 0;
};

// Geometry helpers shared by the drawings.
Point Add(const Point& a, const Point& b);
Point Scaled(const Point& a, double factor);
double Length(const Point& a);
bool Finite(const Point& a);

}  // namespace tav::plot
