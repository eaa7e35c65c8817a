#include "tav/plot/Projection.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tav::plot {

namespace {

double Radians(double degrees) { return std::isfinite(degrees) ? degrees * std::numbers::pi / 180.0 : 0.0; }

double Dot(const Point& a, const Point& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

}  // namespace

Point Add(const Point& a, const Point& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
Point Scaled(const Point& a, double factor) { return {a[0] * factor, a[1] * factor, a[2] * factor}; }
double Length(const Point& a) { return std::sqrt(Dot(a, a)); }
bool Finite(const Point& a) { return std::isfinite(a[0]) && std::isfinite(a[1]) && std::isfinite(a[2]); }

// The viewer sits at (cos e cos a, cos e sin a, sin e) from the frame; the
// screen's right is horizontal and its up is the third axis of a
// right-handed set, so Z points up unless the view is straight down.
Projection::Projection(const PlotView& view) {
  const double a = Radians(view.azimuth);
  const double e = Radians(view.elevation);
  m_right = {-std::sin(a), std::cos(a), 0.0};
  m_up = {-std::sin(e) * std::cos(a), -std::sin(e) * std::sin(a), std::cos(e)};
}

std::array<double, 2> Projection::Plane(const Point& p) const { return {Dot(p, m_right), Dot(p, m_up)}; }

void Projection::Include(const Point& p) {
  if (!Finite(p)) return;
  const auto [x, y] = Plane(p);
  if (!std::isfinite(x) || !std::isfinite(y)) return;
  if (m_empty) {
    m_minX = m_maxX = x;
    m_minY = m_maxY = y;
    m_empty = false;
    return;
  }
  m_minX = std::min(m_minX, x);
  m_maxX = std::max(m_maxX, x);
  m_minY = std::min(m_minY, y);
  m_maxY = std::max(m_maxY, y);
}

void Projection::Fit(const Area& area) {
  const double width = std::max(area.right - area.left, 0.0);
  const double height = std::max(area.bottom - area.top, 0.0);
  const double spanX = m_maxX - m_minX;
  const double spanY = m_maxY - m_minY;
  double scale = 1.0;
  if (spanX > 0 && spanY > 0) {
    scale = std::min(width / spanX, height / spanY);
  } else if (spanX > 0) {
    scale = width / spanX;
  } else if (spanY > 0) {
    scale = height / spanY;
  }
  m_scale = std::isfinite(scale) && scale > 0 ? scale : 1.0;
  const double middleX = 0.5 * (m_minX + m_maxX);
  const double middleY = 0.5 * (m_minY + m_maxY);
  m_originX = 0.5 * (area.left + area.right) - m_scale * middleX;
  m_originY = 0.5 * (area.top + area.bottom) + m_scale * middleY;
}

Pixel Projection::ToPixel(const Point& p) const {
  const auto [x, y] = Plane(p);
  return {m_originX + m_scale * x, m_originY - m_scale * y};
}

}  // namespace tav::plot
