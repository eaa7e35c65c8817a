// The solver input writers and the Sap report reader on a generated frame,
// each beside plain code doing the same work in the same run.
//   SaveInput/format:   CTavData::Save of the own (0), Sap (1) and Midas (2)
//                       formats in MB/s (save_MBps), beside two writers of
//                       the own format's bytes: fprintf with "%g" numbers
//                       (printf_MBps) and lines built with std::to_chars
//                       (to_chars_MBps); ratio = save_MBps / to_chars_MBps.
//                       Both plain writers must give the very file Save
//                       gives, or the benchmark stops with an error.
//   ImportSapReport:    CTavImportSapOutput::LoadData of a generated report
//                       of the frame in MB/s (import_MBps), beside fgets and
//                       std::from_chars over the same file (from_chars_MBps);
//                       ratio = import_MBps / from_chars_MBps.
// Sizes: quick by default (a 12 x 12 x 12 frame); `--full` or TAV_BENCH_FULL=1
// takes the owner's model: a 37 x 37 x 37 frame (50 653 joints, 147 852
// beams) with 271 000 joint loads in six load conditions.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "FullSize.h"
#include "GridFrame.h"
#include "tav/Tav.h"
#include "tav/results/TavImportSapOutput.h"
#include "tav/writers/LineSink.h"
#include "tav/writers/OwnInputWriter.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

struct ModelSize {
  int side = 12;  // joints along each axis
  int loads = 0;  // joint loads over all conditions
  int cases = 0;  // static load conditions
};

ModelSize QuickSize() { return {12, 9245, 6}; }
ModelSize FullSize() { return {37, 271000, 6}; }

fs::path TempFile(const std::string& name) { return fs::temp_directory_path() / ("tav_writers_" + name); }

std::string ReadBytes(const fs::path& path) {
  std::string bytes(fs::file_size(path), '\0');
  std::ifstream(path, std::ios::binary).read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

double Megabytes(const fs::path& path) { return static_cast<double>(fs::file_size(path)) * 1e-6; }

// A frame of side^3 joints, fixed at its base, beams along every grid line,
// and the joint loads dealt out to the conditions in turn of joints, each
// condition taking every joint before the next begins.
void BuildModel(tav::CTavData& doc, const ModelSize& size) {
  const int n = size.side;
  tav::bench::AddGridFrame(doc, n, n, n, {3.25, 4.125, 3.5});
  std::vector<tav::CTavLoadStatic*> cases;
  for (int c = 0; c < size.cases; ++c) {
    std::string name = "C";
    name += std::to_string(c + 1);
    cases.push_back(doc.AddLoadStatic(name, 0));
  }
  const int joints = doc.GetCountJoint();
  for (int load = 0; load < size.loads; ++load) {
    const int joint = load % joints;
    const double step = 0.125 * (joint % 9);
    cases[static_cast<size_t>(std::min(load / joints, size.cases - 1))]->AddLoadStatic_Joint(
        joint, 5.0 + step, -2.5 * step, -40.0 - step, 0, 0, 0, 0);
  }
}

// ---- The own format's bytes by plain code -----------------------------------

// The text of whole sections as the writer gives them: the parts of the file
// that stay a handful of lines whatever the model's size.
std::string Sections(const tav::CTavData& doc, std::initializer_list<void (tav::OwnInputWriter::*)()> sections) {
  tav::StringLineSink sink;
  tav::OwnInputWriter writer(doc, sink);
  for (auto section : sections) (writer.*section)();
  return sink.Text();
}

// What the plain writers take from the document before they start: the
// short sections' text and the records of the long ones.
struct OwnFileParts {
  std::string head, middle, tail;
  std::string sectionLines;  // a long statement: wrapped, with its line ends
  int segments = 0;
};

OwnFileParts PartsOf(const tav::CTavData& doc) {
  using W = tav::OwnInputWriter;
  OwnFileParts parts;
  parts.head = Sections(doc, {&W::WriteTitle, &W::WriteSystem, &W::WriteFunctions, &W::WriteLocalCoords});
  parts.middle = Sections(doc, {&W::WriteConstraints, &W::WriteMasses, &W::WriteDampers, &W::WriteInitialConditions});
  parts.tail = Sections(doc, {&W::WriteHistoryLoads, &W::WriteSpectrumLoads, &W::WriteMovingLoads, &W::WriteStop});
  const auto& group = static_cast<const tav::CTavGroupElement&>(*doc.GetGroup(0));
  tav::CTavSection section = *group.m_arrSection.front();
  tav::StringLineSink lines;
  tav::WrappingLineSink(lines).Line("   MAT/SEC PROPERTIES 1 " +
                                    section.GetStringSectionProp_Tav(tav::TaV_PRECISION_SIX_DIGITS));
  parts.sectionLines = lines.Text();
  parts.segments = doc.GetGlobalOption()->GetCountForceSegment();
  return parts;
}

// The solver inputs' exponent has three digits at least ("1e+010").
void WidenExponent(std::string& text, size_t from) {
  const size_t e = text.find('e', from);
  if (e == std::string::npos) return;
  const size_t digits = text.size() - (e + 2);
  if (digits < 3) text.insert(e + 2, 3 - digits, '0');
}

// "%g" with a point added when it shows none, as the writer's reals are.
void AppendReal(std::string& text, double value) {
  const size_t from = text.size();
  text.resize(from + 32);
  const auto end = std::to_chars(text.data() + from, text.data() + text.size(), value, std::chars_format::general, 6);
  text.resize(static_cast<size_t>(end.ptr - text.data()));
  WidenExponent(text, from);
  if (text.find('.', from) == std::string::npos) text += '.';
}

std::string PrintfReal(double value) {
  std::string text(32, '\0');
  const int size = std::snprintf(text.data(), text.size(), "%g", value);
  text.resize(static_cast<size_t>(size));
  WidenExponent(text, 0);
  if (text.find('.') == std::string::npos) text += '.';
  return text;
}

void AppendInt(std::string& text, long value) {
  const size_t from = text.size();
  text.resize(from + 24);
  const auto end = std::to_chars(text.data() + from, text.data() + text.size(), value);
  text.resize(static_cast<size_t>(end.ptr - text.data()));
}

// "%-2d" and "%2d".
void AppendIntLeft(std::string& text, long value) {
  const size_t from = text.size();
  AppendInt(text, value);
  if (text.size() - from < 2) text += ' ';
}
void AppendIntRight(std::string& text, long value) {
  if (value >= 0 && value < 10) text += ' ';
  AppendInt(text, value);
}

// The joint load's non-zero components, "PX=5. PZ=-40.".
template <typename AppendValue>
void AppendComponents(std::string& text, const tav::CTavLoadJoint& load, AppendValue appendValue) {
  static constexpr const char* kNames[] = {"PX=", "PY=", "PZ=", "MX=", "MY=", "MZ="};
  bool first = true;
  for (int i = 0; i < 6; ++i) {
    if (load.m_dValue[i] == 0.0) continue;
    if (!first) text += ' ';
    first = false;
    text += kNames[i];
    appendValue(text, load.m_dValue[i]);
  }
}

// Lines built in one string with std::to_chars, written in large blocks.
class ToCharsWriter {
 public:
  explicit ToCharsWriter(const fs::path& path) : file_(std::fopen(path.string().c_str(), "wb")) {}
  ~ToCharsWriter() {
    Flush();
    if (file_ != nullptr) std::fclose(file_);
  }
  ToCharsWriter(const ToCharsWriter&) = delete;
  ToCharsWriter& operator=(const ToCharsWriter&) = delete;

  std::string& Text() { return text_; }
  void EndLine() {
    text_ += "\r\n";
    if (text_.size() > (1U << 20)) Flush();
  }
  void Flush() {
    if (file_ != nullptr) std::fwrite(text_.data(), 1, text_.size(), file_);
    text_.clear();
  }

 private:
  std::FILE* file_;
  std::string text_;
};

void ToCharsStaticLoads(ToCharsWriter& out, const tav::CTavData& doc) {
  for (int32_t c = 0; c < doc.GetCountStaticLoad(); ++c) {
    const tav::CTavLoadStatic& loadCase = *doc.GetStaticLoad(c);
    out.Text() += loadCase.GetStringTitle();
    out.EndLine();
    out.Text() += "     JOINT LOADS";
    out.EndLine();
    for (const auto& load : loadCase.m_arrLoadJoint) {
      std::string& text = out.Text();
      text += "     ";
      AppendInt(text, load->m_nJoint + 1);
      text += ' ';
      AppendComponents(text, *load, AppendReal);
      text += " FUNCTION=";
      AppendInt(text, load->m_nFunction + 1);
      out.EndLine();
    }
  }
}

void ToCharsBeams(ToCharsWriter& out, const tav::CTavData& doc, const OwnFileParts& parts) {
  const auto& group = static_cast<const tav::CTavGroupElement&>(*doc.GetGroup(0));
  out.Text() += "BEAM ELEMENT GROUP 1 NUMBER OF ELEMENTS=";
  AppendInt(out.Text(), group.GetCountBeam());
  out.EndLine();
  out.Text() += parts.sectionLines;
  for (int32_t number : group.m_arrBeam) {
    const tav::CTavBeam& beam = *doc.GetBeam(number);
    std::string& text = out.Text();
    text += "   ";
    AppendIntRight(text, beam.m_nIndex + 1);
    text += " MATERIAL=";
    AppendInt(text, beam.m_nSection + 1);
    text += " NOAN=";
    AppendInt(text, beam.m_nJointI + 1);
    text += ' ';
    AppendInt(text, beam.m_nJointJ + 1);
    text += ' ';
    AppendReal(text, beam.m_dAngle);
    text += " NREG=";
    AppendInt(text, parts.segments);
    text += ' ';  // no end releases, offsets or rigid zones
    out.EndLine();
  }
}

void ToCharsJoints(ToCharsWriter& out, const tav::CTavData& doc) {
  out.Text() += "JOINT INFORMATIONS";
  out.EndLine();
  for (int32_t i = 0; i < doc.GetCountJoint(); ++i) {
    const tav::CTavJoint& joint = *doc.GetJoint(i);
    std::string& text = out.Text();
    text += "  ";
    AppendIntLeft(text, joint.m_nIndex + 1);
    text += " X=";
    AppendReal(text, joint.m_vPos.x);
    text += " Y=";
    AppendReal(text, joint.m_vPos.y);
    text += " Z=";
    AppendReal(text, joint.m_vPos.z);
    out.EndLine();
  }
  out.Text() += "JOINT RESTRAINTS";
  out.EndLine();
  for (int32_t i = 0; i < doc.GetCountJoint(); ++i) {
    const tav::CTavJoint& joint = *doc.GetJoint(i);
    if (!joint.m_Restraint.Any()) continue;
    out.Text() += "  ";
    AppendIntLeft(out.Text(), joint.m_nIndex + 1);
    out.Text() += " UX UY UZ RX RY RZ";  // the frame's supports are fixed
    out.EndLine();
  }
}

void WriteOwnByToChars(const tav::CTavData& doc, const OwnFileParts& parts, const fs::path& path) {
  ToCharsWriter out(path);
  out.Text() += parts.head;
  ToCharsJoints(out, doc);
  out.Text() += parts.middle;
  ToCharsBeams(out, doc, parts);
  ToCharsStaticLoads(out, doc);
  out.Text() += parts.tail;
}

// The same file by fprintf, each real through snprintf's "%g".
void PrintfJoints(std::FILE* file, const tav::CTavData& doc) {
  std::fputs("JOINT INFORMATIONS\r\n", file);
  for (int32_t i = 0; i < doc.GetCountJoint(); ++i) {
    const tav::CTavJoint& joint = *doc.GetJoint(i);
    std::fprintf(file, "  %-2d X=%s Y=%s Z=%s\r\n", joint.m_nIndex + 1, PrintfReal(joint.m_vPos.x).c_str(),
                 PrintfReal(joint.m_vPos.y).c_str(), PrintfReal(joint.m_vPos.z).c_str());
  }
  std::fputs("JOINT RESTRAINTS\r\n", file);
  for (int32_t i = 0; i < doc.GetCountJoint(); ++i) {
    const tav::CTavJoint& joint = *doc.GetJoint(i);
    if (joint.m_Restraint.Any()) std::fprintf(file, "  %-2d UX UY UZ RX RY RZ\r\n", joint.m_nIndex + 1);
  }
}

void PrintfBeams(std::FILE* file, const tav::CTavData& doc, const OwnFileParts& parts) {
  const auto& group = static_cast<const tav::CTavGroupElement&>(*doc.GetGroup(0));
  std::fprintf(file, "BEAM ELEMENT GROUP 1 NUMBER OF ELEMENTS=%d\r\n%s", group.GetCountBeam(),
               parts.sectionLines.c_str());
  for (int32_t number : group.m_arrBeam) {
    const tav::CTavBeam& beam = *doc.GetBeam(number);
    std::fprintf(file, "   %2d MATERIAL=%d NOAN=%d %d %s NREG=%d \r\n", beam.m_nIndex + 1, beam.m_nSection + 1,
                 beam.m_nJointI + 1, beam.m_nJointJ + 1, PrintfReal(beam.m_dAngle).c_str(), parts.segments);
  }
}

void PrintfStaticLoads(std::FILE* file, const tav::CTavData& doc) {
  const auto appendValue = [](std::string& text, double value) { text += PrintfReal(value); };
  std::string components;
  for (int32_t c = 0; c < doc.GetCountStaticLoad(); ++c) {
    const tav::CTavLoadStatic& loadCase = *doc.GetStaticLoad(c);
    std::fprintf(file, "%s\r\n     JOINT LOADS\r\n", loadCase.GetStringTitle().c_str());
    for (const auto& load : loadCase.m_arrLoadJoint) {
      components.clear();
      AppendComponents(components, *load, appendValue);
      std::fprintf(file, "     %d %s FUNCTION=%d\r\n", load->m_nJoint + 1, components.c_str(), load->m_nFunction + 1);
    }
  }
}

void WriteOwnByPrintf(const tav::CTavData& doc, const OwnFileParts& parts, const fs::path& path) {
  std::FILE* file = std::fopen(path.string().c_str(), "wb");
  if (file == nullptr) return;
  std::fputs(parts.head.c_str(), file);
  PrintfJoints(file, doc);
  std::fputs(parts.middle.c_str(), file);
  PrintfBeams(file, doc, parts);
  PrintfStaticLoads(file, doc);
  std::fputs(parts.tail.c_str(), file);
  std::fclose(file);
}

// ---- Benchmarks -------------------------------------------------------------

// The fastest of the iterations' times of `write`, and the file's size.
struct Rate {
  double seconds = 1e300;
  double megabytes = 0;
  void Time(const std::function<void()>& write, const fs::path& path) {
    const auto start = Clock::now();
    write();
    seconds = std::min(seconds, Since(start));
    megabytes = Megabytes(path);
  }
  double MBps() const { return seconds > 0 ? megabytes / seconds : 0.0; }
};

void SaveInput(benchmark::State& state, ModelSize size) {
  tav::CTavData doc;
  BuildModel(doc, size);
  const auto format = static_cast<tav::TaV_INPUT_FORMAT>(state.range(0));
  const fs::path saved = TempFile("save.txt"), byPrintf = TempFile("printf.txt"), byToChars = TempFile("tochars.txt");
  doc.Save(saved.string(), tav::TaV_FORMAT_TAV);
  const OwnFileParts parts = PartsOf(doc);
  WriteOwnByPrintf(doc, parts, byPrintf);
  WriteOwnByToChars(doc, parts, byToChars);
  const std::string own = ReadBytes(saved);
  if (ReadBytes(byPrintf) != own || ReadBytes(byToChars) != own) {
    state.SkipWithError("the plain writers' file differs from Save's");
    return;
  }
  Rate save, printfLines, toChars;
  for (auto _ : state) {
    save.Time([&] { doc.Save(saved.string(), format); }, saved);
    printfLines.Time([&] { WriteOwnByPrintf(doc, parts, byPrintf); }, byPrintf);
    toChars.Time([&] { WriteOwnByToChars(doc, parts, byToChars); }, byToChars);
  }
  state.counters["MB"] = save.megabytes;
  state.counters["save_MBps"] = save.MBps();
  state.counters["printf_MBps"] = printfLines.MBps();
  state.counters["to_chars_MBps"] = toChars.MBps();
  state.counters["ratio"] = toChars.MBps() > 0 ? save.MBps() / toChars.MBps() : 0.0;
  for (const fs::path& path : {saved, byPrintf, byToChars}) fs::remove(path);
}

// ---- The Sap report ----------------------------------------------------------

// A page: the form feed, its spaced title and a blank line.
void Page(std::FILE* file, const char* title) { std::fprintf(file, "\f\n%s\n\n", title); }

// The six values of row `row`: made up, of both signs, in the report's
// exponent form.
void Values(std::FILE* file, long row) {
  for (int v = 0; v < 6; ++v) {
    std::fprintf(file, " %12.4E", (v % 2 == 0 ? 1.0 : -1.0) * (1.0 + row % 97) * 1e-3 * (v + 1));
  }
  std::fputc('\n', file);
}

void JointPage(std::FILE* file, const tav::CTavData& doc, const char* title, bool supportsOnly) {
  Page(file, title);
  for (int c = 0; c < doc.GetCountStaticLoad(); ++c) {
    std::fprintf(file,
                 " LOAD  C%d\n  JOINT        U1           U2           U3           R1           R2           R3\n",
                 c + 1);
    for (int32_t j = 0; j < doc.GetCountJoint(); ++j) {
      if (supportsOnly && !doc.GetJoint(j)->m_Restraint.Any()) continue;
      std::fprintf(file, "%6d", j + 1);
      Values(file, j + c);
    }
  }
}

// The frame page gives each beam its ends and middle.
void FramePage(std::FILE* file, const tav::CTavData& doc) {
  Page(file, " F R A M E   E L E M E N T   F O R C E S");
  for (int c = 0; c < doc.GetCountStaticLoad(); ++c) {
    std::fprintf(file, " LOAD  C%d\n", c + 1);
    for (int32_t b = 0; b < doc.GetCountBeam(); ++b) {
      std::fprintf(file, " ELEM %d\n", b + 1);
      for (int station = 0; station < 3; ++station) {
        std::fprintf(file, "   %7.3f", 1.625 * station);
        Values(file, b + station);
      }
    }
  }
}

void WriteSapReport(const tav::CTavData& doc, const fs::path& path) {
  std::FILE* file = std::fopen(path.string().c_str(), "wb");
  if (file == nullptr) return;
  for (int i = 1; i <= 28; ++i) std::fprintf(file, " REPORT HEADER LINE %d\n", i);
  JointPage(file, doc, " J O I N T   D I S P L A C E M E N T S", false);
  JointPage(file, doc, " R E S T R A I N T   F O R C E S", true);
  FramePage(file, doc);
  std::fclose(file);
}

// Every number of every line, by fgets and std::from_chars; their sum.
double ReadNumbers(const fs::path& path) {
  std::FILE* file = std::fopen(path.string().c_str(), "rb");
  if (file == nullptr) return 0;
  std::string line(256, '\0');
  double sum = 0;
  while (std::fgets(line.data(), static_cast<int>(line.size()), file) != nullptr) {
    const char* p = line.data();
    const char* end = p + std::strlen(p);
    for (;;) {
      while (p < end && (*p == ' ' || *p == '\t')) ++p;
      double value = 0;
      const auto [next, error] = std::from_chars(p, end, value);
      if (error != std::errc()) break;
      sum += value;
      p = next;
    }
  }
  std::fclose(file);
  return sum;
}

// The frame with two load conditions and no loads: what a Sap run reports.
void ImportSapReport(benchmark::State& state, ModelSize size) {
  size.loads = 0;
  size.cases = 2;
  const fs::path report = TempFile("sap.out");
  {
    tav::CTavData doc;
    BuildModel(doc, size);
    WriteSapReport(doc, report);
  }
  Rate imported, plain;
  double sum = 0;
  for (auto _ : state) {
    tav::CTavData doc;
    BuildModel(doc, size);
    int read = 0;
    imported.Time([&] { read = tav::CTavImportSapOutput(&doc).LoadData(report.string()); }, report);
    if (read != 1) state.SkipWithError("the generated report was not read");
    plain.Time([&] { sum = ReadNumbers(report); }, report);
  }
  benchmark::DoNotOptimize(sum);
  state.counters["MB"] = imported.megabytes;
  state.counters["import_MBps"] = imported.MBps();
  state.counters["from_chars_MBps"] = plain.MBps();
  state.counters["ratio"] = plain.MBps() > 0 ? imported.MBps() / plain.MBps() : 0.0;
  fs::remove(report);
}  // namespace

}  // namespace

int main(int argc, char** argv) {
  const ModelSize size = tav::bench::TakeFullFlag(argc, argv) ? FullSize() : QuickSize();
  // Each rate is the fastest of its iterations, which keeps out most of
  // what else the machine is doing.
  const int iterations = size.side > 20 ? 3 : 5;
  benchmark::RegisterBenchmark("SaveInput", SaveInput, size)
      ->DenseRange(tav::TaV_FORMAT_TAV, tav::TaV_FORMAT_MIDAS)
      ->Iterations(iterations)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("ImportSapReport", ImportSapReport, size)
      ->Iterations(iterations)
      ->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
