#include "tav/plot/SvgWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tav::plot {

namespace {

double Clamp(double value, double low, double high) {
  if (!std::isfinite(value)) return low;
  return std::clamp(value, low, std::max(low, high)) + 0.0;  // + 0.0 turns -0 into 0
}

// Rough width of a line of text in a sans-serif face, enough to keep labels
// inside the canvas.
// Rough width of a line of text in a sans-serif face (bytes, so a little
// more for letters beyond ASCII), enough to keep labels inside the canvas.
double TextWidth(std::string_view text, double size) { return 0.65 * size * static_cast<double>(text.size()); }

// `text`, or as much of it as fits `width` followed by "...", cut between
// whole UTF-8 sequences.
std::string Shortened(std::string_view text, double size, double width) {
  if (TextWidth(text, size) <= width) return std::string(text);
  const double fits = std::floor(width / (0.65 * size)) - 3.0;
  std::size_t keep = fits > 0 ? static_cast<std::size_t>(fits) : 0;
  while (keep > 0 && (static_cast<unsigned char>(text[keep]) & 0xC0) == 0x80) --keep;
  return std::string(text.substr(0, keep)) + "...";
}

// The length of the well-formed UTF-8 sequence starting `text`, 0 when
// it is not one (a stray byte would make the document unreadable).
std::size_t Utf8Length(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  const std::size_t length = lead < 0x80                   ? 1
                             : lead >= 0xC2 && lead < 0xE0 ? 2
                             : lead >= 0xE0 && lead < 0xF0 ? 3
                             : lead >= 0xF0 && lead < 0xF5 ? 4
                                                           : 0;
  if (length == 0 || length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 0;
  }
  return length;
}

}  // namespace

std::string EscapeXml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const std::size_t length = Utf8Length(text);
    if (length != 1) {
      out += length == 0 ? std::string_view("?") : text.substr(0, length);
      text.remove_prefix(std::max<std::size_t>(length, 1));
      continue;
    }
    const char c = text[0];
    text.remove_prefix(1);
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        // Control characters other than tab and newline are not allowed in XML 1.0.
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n') out += c;
    }
  }
  return out;
}

SvgWriter::SvgWriter(int width, int height)
    : m_width(static_cast<double>(std::max(width, 1))), m_height(static_cast<double>(std::max(height, 1))) {
  // The canvas is whole pixels.
  const std::string w = std::to_string(static_cast<int>(m_width));
  const std::string h = std::to_string(static_cast<int>(m_height));
  const std::string size = "width=\"" + w + "\" height=\"" + h + "\"";
  m_out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" " + size +
          " viewBox=\"0 0 " + w + ' ' + h + "\" font-family=\"sans-serif\">\n<rect x=\"0\" y=\"0\" " + size +
          " fill=\"#FFFFFF\"/>\n";
}

void SvgWriter::Number(double value) {
  std::string text(48, '\0');
  const double shown = std::isfinite(value) ? std::clamp(value, -1e15, 1e15) : 0.0;
  const auto result = std::to_chars(text.data(), text.data() + text.size(), shown, std::chars_format::fixed, 2);
  std::string_view digits(text.data(), result.ptr);
  while (digits.ends_with('0')) digits.remove_suffix(1);
  if (digits.ends_with('.')) digits.remove_suffix(1);
  m_out += digits == "-0" ? "0" : digits;
}

void SvgWriter::Coordinate(const char* name, double value, double high) {
  m_out += ' ';
  m_out += name;
  m_out += "=\"";
  Number(Clamp(value, 0.0, high));
  m_out += '"';
}

void SvgWriter::Points(std::span<const Pixel> points) {
  m_out += " points=\"";
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (i > 0) m_out += ' ';
    Number(Clamp(points[i][0], 0.0, m_width));
    m_out += ',';
    Number(Clamp(points[i][1], 0.0, m_height));
  }
  m_out += '"';
}

void SvgWriter::Stroke(const Pen& pen) {
  m_out += " stroke=\"";
  m_out += pen.colour;
  m_out += "\" stroke-width=\"";
  Number(std::isfinite(pen.width) ? std::max(pen.width, 0.0) : 1.0);
  m_out += '"';
  if (!pen.dash.empty()) {
    m_out += " stroke-dasharray=\"";
    m_out += pen.dash;
    m_out += '"';
  }
}

void SvgWriter::Line(Pixel a, Pixel b, const Pen& pen) {
  m_out += "<line";
  Coordinate("x1", a[0], m_width);
  Coordinate("y1", a[1], m_height);
  Coordinate("x2", b[0], m_width);
  Coordinate("y2", b[1], m_height);
  Stroke(pen);
  m_out += "/>\n";
}

void SvgWriter::Polyline(std::span<const Pixel> points, const Pen& pen) {
  if (points.empty()) return;
  m_out += "<polyline";
  Points(points);
  m_out += " fill=\"none\"";
  Stroke(pen);
  m_out += "/>\n";
}

void SvgWriter::Polygon(std::span<const Pixel> points, std::string_view fill, double fillOpacity, const Pen& pen) {
  if (points.empty()) return;
  m_out += "<polygon";
  Points(points);
  m_out += " fill=\"";
  m_out += fill.empty() ? "none" : fill;
  m_out += "\" fill-opacity=\"";
  Number(Clamp(fillOpacity, 0.0, 1.0));
  m_out += '"';
  Stroke(pen);
  m_out += "/>\n";
}

void SvgWriter::Circle(Pixel centre, double radius, std::string_view fill, const Pen& pen) {
  const double r = Clamp(radius, 0.0, 0.5 * std::min(m_width, m_height));
  m_out += "<circle";
  m_out += " cx=\"";
  Number(Clamp(centre[0], r, m_width - r));
  m_out += "\" cy=\"";
  Number(Clamp(centre[1], r, m_height - r));
  m_out += "\" r=\"";
  Number(r);
  m_out += "\" fill=\"";
  m_out += fill.empty() ? "none" : fill;
  m_out += '"';
  Stroke(pen);
  m_out += "/>\n";
}

void SvgWriter::Text(Pixel at, std::string_view text, double size, std::string_view colour, Anchor anchor) {
  const std::string shown = Shortened(text, size, m_width);
  const double width = TextWidth(shown, size);
  // Keep the whole estimated extent inside: the anchor moves the text's box.
  const double before = anchor == Anchor::kStart ? 0.0 : anchor == Anchor::kMiddle ? 0.5 * width : width;
  const double x = Clamp(at[0], before, m_width - (width - before));
  m_out += "<text";
  Coordinate("x", x, m_width);
  Coordinate("y", Clamp(at[1], size, m_height - 0.25 * size), m_height);
  m_out += " font-size=\"";
  Number(size);
  m_out += "\" fill=\"";
  m_out += colour;
  m_out += '"';
  if (anchor != Anchor::kStart) m_out += anchor == Anchor::kMiddle ? " text-anchor=\"middle\"" : " text-anchor=\"end\"";
  m_out += '>';
  m_out += EscapeXml(shown);
  m_out += "</text>\n";
}

std::string SvgWriter::Finish() {
  m_out += "</svg>\n";
  return std::move(m_out);
}

}  // namespace tav::plot
