#include "tav/plot/HtmlReport.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "tav/plot/HtmlReportViewer.h"
#include "tav/plot/SvgWriter.h"

namespace tav::plot {
namespace {

// Text as the page shows it: escaped as in the pictures (which also drops
// what XML and HTML forbid: control characters, broken UTF-8).
void AppendHtmlEscaped(std::string& out, std::string_view text) { out += EscapeXml(text); }

// A JSON string that can sit inside a <script> element: "<" never appears
// as itself, so neither "</script>" nor "<!--" can end or confuse the
// element, and the line separators older engines reject in literals are
// written as escapes.
void AppendJsonString(std::string& out, std::string_view text) {
  static constexpr std::string_view kHex = "0123456789abcdef";
  out += '"';
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == '<' || c == '>' || c == '&') {
      out += "\\u00";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    } else if (c == 0xE2 && i + 2 < text.size() && text[i + 1] == '\x80' &&
               (text[i + 2] == '\xA8' || text[i + 2] == '\xA9')) {
      out += text[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
      i += 2;
    } else {
      out += static_cast<char>(c);
    }
  }
  out += '"';
}

// The shortest text that reads back as the same double; a value that is
// not finite has no JSON form and is drawn as no displacement.
void AppendJsonNumber(std::string& out, double value) {
  if (!std::isfinite(value)) value = 0.0;
  const size_t used = out.size();
  out.resize(used + 32);  // the longest double std::to_chars writes is 24 characters
  const auto result = std::to_chars(out.data() + used, out.data() + out.size(), value);
  out.resize(static_cast<size_t>(result.ptr - out.data()));
}

void AppendJsonPoint(std::string& out, const Point& p) {
  out += '[';
  for (size_t k = 0; k < p.size(); ++k) {
    if (k > 0) out += ',';
    AppendJsonNumber(out, p[k]);
  }
  out += ']';
}

void AppendJsonBool(std::string& out, bool value) { out += value ? "true" : "false"; }

// Writes `items` as a JSON array, each element by `append`.
template <typename Items, typename Append>
void AppendJsonArray(std::string& out, const Items& items, Append append) {
  out += '[';
  bool first = true;
  for (const auto& item : items) {
    if (!first) out += ',';
    first = false;
    append(item);
  }
  out += ']';
}

void AppendJoint(std::string& out, const PlotJoint& joint) {
  out += "{\"number\":" + std::to_string(joint.number) + ",\"at\":";
  AppendJsonPoint(out, joint.at);
  out += ",\"restrained\":";
  AppendJsonArray(out, joint.restrained, [&](bool held) { AppendJsonBool(out, held); });
  out += ",\"spring\":";
  AppendJsonBool(out, joint.spring);
  out += '}';
}

void AppendBeam(std::string& out, const PlotBeam& beam) {
  out += "{\"number\":" + std::to_string(beam.number) + ",\"i\":" + std::to_string(beam.jointI) +
         ",\"j\":" + std::to_string(beam.jointJ) + '}';
}

void AppendResult(std::string& out, const PlotResult& result) {
  out += "{\"name\":";
  AppendJsonString(out, result.name);
  out += ",\"mode\":";
  AppendJsonBool(out, result.mode);
  out += ",\"displacements\":";
  AppendJsonArray(out, result.displacements, [&](const Point& d) { AppendJsonPoint(out, d); });
  out += '}';
}

std::string ModelJson(const ReportContent& content) {
  const PlotFrame& frame = content.frame;
  std::string out = "{\"title\":";
  AppendJsonString(out, frame.title);
  out += ",\"joints\":";
  AppendJsonArray(out, frame.joints, [&](const PlotJoint& j) { AppendJoint(out, j); });
  out += ",\"beams\":";
  AppendJsonArray(out, frame.beams, [&](const PlotBeam& b) { AppendBeam(out, b); });
  out += ",\"links\":";
  AppendJsonArray(out, frame.links, [&](const PlotLink& link) {
    out += '[' + std::to_string(link.jointI) + ',' + std::to_string(link.jointJ) + ']';
  });
  out += ",\"results\":";
  AppendJsonArray(out, content.results, [&](const PlotResult& r) { AppendResult(out, r); });
  out += '}';
  return out;
}

bool StartsWithNoCase(std::string_view text, size_t at, std::string_view prefix) {
  if (text.size() - at < prefix.size()) return false;
  for (size_t k = 0; k < prefix.size(); ++k) {
    const char c = text[at + k];
    const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (lower != prefix[k]) return false;
  }
  return true;
}

// A script's text inlined in a <script> element. "</script" would end the
// element and "<!--" changes how the browser finds its end; both can only
// stand in strings, regular expressions or comments, where "<\/" and "<\!"
// mean the same.
void AppendScript(std::string& out, std::string_view script) {
  out += "<script>\n";
  for (size_t i = 0; i < script.size(); ++i) {
    out += script[i];
    if (script[i] == '<' && (StartsWithNoCase(script, i + 1, "/script") || StartsWithNoCase(script, i + 1, "!--"))) {
      out += '\\';
    }
  }
  out += "\n</script>\n";
}

// What may stand before an SVG document's first tag: white space and a
// UTF-8 byte order mark.
std::string_view SkipLeading(std::string_view svg) {
  const size_t start = svg.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
  return start == std::string_view::npos ? std::string_view() : svg.substr(start);
}

// An SVG document as an element of the page: the XML declaration and a
// document type have no place inside HTML.
std::string_view SvgElement(std::string_view svg) {
  svg = SkipLeading(svg);
  for (std::string_view prolog : {std::string_view("<?xml"), std::string_view("<!doctype")}) {
    if (!StartsWithNoCase(svg, 0, prolog)) continue;
    const size_t end = svg.find('>');
    svg = SkipLeading(end == std::string_view::npos ? std::string_view() : svg.substr(end + 1));
  }
  return svg;
}

void AppendSection(std::string& out, const ReportSection& section) {
  out += "<section>\n<h2>";
  AppendHtmlEscaped(out, section.heading);
  out += "</h2>\n";
  if (!section.preformatted.empty()) {
    out += "<pre>";
    AppendHtmlEscaped(out, section.preformatted);
    out += "</pre>\n";
  }
  for (const std::string& picture : section.pictures) {
    out += "<div class=\"picture\">\n";
    out += SvgElement(picture);
    out += "\n</div>\n";
  }
  out += "</section>\n";
}

constexpr std::string_view kStyle = R"(<style>
body { font-family: sans-serif; margin: 1em 2em; background: #fff; color: #222; }
pre { font-family: monospace; font-size: 0.85em; overflow-x: auto; }
.picture svg { max-width: 100%; height: auto; }
#view-controls { margin: 0.5em 0; }
#view-controls label { margin-right: 1.5em; }
#view-canvas { display: block; width: 100%; height: 600px; border: 1px solid #ccc; }
#view-message:empty, #errors:empty { display: none; }
#errors { color: #b00; white-space: pre-wrap; }
.legend { font-size: 0.85em; color: #555; }
</style>
)";

// The 3D view's place. Its error listener comes before the inlined scripts
// so that a failure in any of them shows in the page too.
constexpr std::string_view kView = R"(<section id="view">
<h2>3D view</h2>
<div id="view-controls">
<label>Result <select id="view-result"></select></label>
<label>Scale <input id="view-scale" type="range" min="0" max="400" value="100"> <span id="view-factor"></span></label>
</div>
<p id="view-message"></p>
<canvas id="view-canvas"></canvas>
<p class="legend">Beams blue, links dashed green, the deformed shape red; supports: fixed red, pinned orange,
springs green, other restraints purple. Drag to rotate, scroll to zoom, right-drag to pan.</p>
<pre id="errors"></pre>
</section>
<script>
window.addEventListener('error', function (event) {
  document.getElementById('errors').textContent += String(event.message) + '\n';
});
</script>
)";

}  // namespace

std::string BuildHtmlReport(const ReportContent& content) {
  std::string out = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
  AppendHtmlEscaped(out, content.title);
  out += "</title>\n";
  out += kStyle;
  out += "</head>\n<body>\n<h1>";
  AppendHtmlEscaped(out, content.title);
  out += "</h1>\n";
  // The view first: a reader looks before reading, and a long report's
  // tables would push it out of sight.
  out += kView;
  for (const ReportSection& section : content.sections) AppendSection(out, section);
  out += "<script type=\"application/json\" id=\"view-model\">";
  out += ModelJson(content);
  out += "</script>\n";
  for (const std::string& script : content.scripts) AppendScript(out, script);
  AppendScript(out, HtmlReportViewerScript());
  out += "</body>\n</html>\n";
  return out;
}

}  // namespace tav::plot
