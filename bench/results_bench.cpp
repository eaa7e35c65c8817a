// The output import's two costs on a frame of 3164 beams and 1176 joints
// (`--full` or TAV_BENCH_FULL=1: 69 564 beams and 24 025 joints, an own
// output of about 210 MB), each beside a plain loop with the same
// semantics in the same run:
//   Compose/type: the combinations alone (type 0 ADD, 1 ENVE), one
//                 combination of four static, a spectrum, a history and a
//                 moving term whose envelopes the document holds; ns per
//                 element x term, an element being a beam station or a
//                 joint, against a loop folding every term of an element
//                 at once over plain arrays, each term with its rule and
//                 the history and moving terms from both their envelopes
//                 (baseline_ns, ratio)
//   ImportOwnOutput: LoadData of the frame's own output (five cases, no
//                 combination) in GB/s, against a plain importer that zero
//                 fills, copies and divides each position by its length
//                 (baseline_GBps, ratio)
#include <benchmark/benchmark.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "FullSize.h"
#include "tav/Tav.h"

namespace {

using Clock = std::chrono::steady_clock;

// The frame: grid x grid joints on each of its storeys.
struct FrameSize {
  int grid = 14;
  int stories = 6;
};
constexpr int kStatics = 4;  // as BuildFrame names them

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// A grid of joints 3 m apart, beams along every grid line, its load cases
// (four static, then a history, a spectrum and a moving case).
void BuildFrame(tav::CTavData& doc, FrameSize size) {
  const int grid = size.grid;
  doc.GetFunction()->AddFunctionDefault();
  const auto id = [grid](int i, int j, int k) { return (k * grid + j) * grid + i; };
  for (int k = 0; k < size.stories; ++k) {
    for (int j = 0; j < grid; ++j) {
      for (int i = 0; i < grid; ++i) doc.AddJoint(3.0 * i, 3.0 * j, 3.5 * k, 0, 0, 0, 0, 0, 0, -1);
    }
  }
  tav::CTavGroupElement* group = doc.AddGroupElement();
  group->AddSection(3.0e7, 0.2, 5.0e-3, 3.0e-3, 0.25, 24.0, 0.0, 4.0e-3, 0.2, 0.2);
  for (int k = 0; k < size.stories; ++k) {
    for (int j = 0; j < grid; ++j) {
      for (int i = 0; i < grid; ++i) {
        if (i + 1 < grid) doc.AddBeam(group, 0, id(i, j, k), id(i + 1, j, k), 0, 0, 0, 0, 0, 0, 0);
        if (j + 1 < grid) doc.AddBeam(group, 0, id(i, j, k), id(i, j + 1, k), 0, 0, 0, 0, 0, 0, 0);
        if (k + 1 < size.stories) doc.AddBeam(group, 0, id(i, j, k), id(i, j, k + 1), 0, 0, 0, 0, 0, 0, 0);
      }
    }
  }
  for (const char* name : {"S1", "S2", "S3", "S4"}) doc.AddLoadStatic(name, 0);
  doc.AddLoadHistory("H");
  doc.AddLoadResponseSpectrum("R");
  doc.AddMovingLoad("M");
}

// Envelopes of the model's shape, every value near `level`.
tav::TavResponseValues Envelope(const tav::CTavData& doc, double level) {
  tav::TavResponseValues values;
  const auto joints = static_cast<size_t>(6 * doc.GetCountJoint());
  values.displacements.assign(joints, level * 1e-3);
  values.reactions.assign(joints, level);
  values.beamForces.assign(static_cast<size_t>(doc.GetCountBeam()),
                           std::vector<double>(static_cast<size_t>(6 * doc.GetCountResultStation()), level));
  return values;
}

void AddResponses(tav::CTavData& doc) {
  tav::TavResponseResults responses;
  for (int32_t kind : {tav::TaV_LOAD_HISTORY, tav::TaV_LOAD_MOVING}) {
    tav::TavCaseResponse response;
    response.kind = kind;
    response.maximum = Envelope(doc, 2.0);
    response.minimum = Envelope(doc, -1.5);
    responses.cases.push_back(std::move(response));
  }
  doc.SetResponseResults(std::move(responses));
}

// Every value of the load cases' blocks, varying from value to value.
void FillCases(tav::CTavData& doc) {
  std::vector<double> record(18);
  for (int32_t c = 0; c < doc.GetCountLoadCase(0); ++c) {
    for (int32_t joint = 0; joint < doc.GetCountJoint(); ++joint) {
      for (size_t v = 0; v < record.size(); ++v) record[v] = 0.01 * static_cast<double>((joint + c + v) % 97) - 0.4;
      doc.SetResult_Joint(joint, c, record.data(), tav::TaV_JOINT_REACTION, 18);
    }
    for (int32_t beam = 0; beam < doc.GetCountBeam(); ++beam) {
      for (int32_t s = 0; s < doc.GetCountResultStation(); ++s) {
        record[0] = 0.25 * s;
        for (size_t v = 1; v < 7; ++v) record[v] = static_cast<double>((beam + c + s + v) % 89) - 40.0;
        doc.SetResult_Beam(beam, c, s, record.data(), 7);
      }
    }
  }
}

class Composer : public tav::CTavImportTavOutput {
 public:
  using CTavImportTavOutput::ComposeComboData;
  using CTavImportTavOutput::CTavImportTavOutput;
};

// A term of the plain loop as the combination has it: arrays of `elements`
// x 6 values from `high` down to `low` (one array for a term of one value),
// its factor, and whether it is a magnitude that acts either way.
struct PlainTerm {
  const std::vector<double>* high;
  const std::vector<double>* low;
  double factor;
  bool magnitude;
};

// Folds every term into each element's six values at once, with the
// combination's rules: a negative factor swaps the ends, a magnitude goes
// into both halves.
double PlainCompose(const std::vector<PlainTerm>& terms, std::vector<double>& maximum, std::vector<double>& minimum,
                    bool envelope) {
  const auto start = Clock::now();
  const size_t elements = maximum.size() / 6;
  for (size_t e = 0; e < elements; ++e) {
    for (const PlainTerm& term : terms) {
      const double* high = term.high->data() + 6 * e;
      const double* low = term.low->data() + 6 * e;
      if (term.factor < 0.0 && !term.magnitude) std::swap(high, low);
      for (size_t i = 0, v = 6 * e; i < 6; ++i, ++v) {
        const double upper = term.factor * high[i];
        const double lower = term.factor * low[i];
        if (term.magnitude) {
          const double magnitude = std::fabs(upper);
          if (envelope) {
            maximum[v] = std::max(std::max(maximum[v], magnitude), -magnitude);
            minimum[v] = std::min(std::min(minimum[v], magnitude), -magnitude);
          } else {
            maximum[v] += magnitude;
            minimum[v] -= magnitude;
          }
        } else if (envelope) {
          maximum[v] = std::max(maximum[v], upper);
          minimum[v] = std::min(minimum[v], lower);
        } else {
          maximum[v] += upper;
          minimum[v] += lower;
        }
      }
    }
  }
  benchmark::DoNotOptimize(maximum.data());
  benchmark::DoNotOptimize(minimum.data());
  return Since(start);
}

// The plain loop's terms over `arrays` for the combination Compose builds:
// four static cases, a spectrum, and a history and a moving case with their
// envelopes, each term with arrays of its own.
std::vector<PlainTerm> PlainTerms(std::vector<std::vector<double>>& arrays, size_t elements) {
  for (double level : {0.5, 0.5, 0.5, 0.5, 0.5, 2.0, -1.5, 2.0, -1.5}) arrays.emplace_back(6 * elements, level);
  std::vector<PlainTerm> terms;
  for (size_t c = 0; c < kStatics; ++c) terms.push_back({&arrays[c], &arrays[c], 1.2, false});
  terms.push_back({&arrays[4], &arrays[4], 1.0, true});
  terms.push_back({&arrays[5], &arrays[6], -1.0, false});
  terms.push_back({&arrays[7], &arrays[8], 0.8, false});
  return terms;
}

void Compose(benchmark::State& state, FrameSize size) {
  const auto type = state.range(0) == 0 ? tav::TaV_COMBO_ADD : tav::TaV_COMBO_ENVE;
  tav::CTavData doc;
  BuildFrame(doc, size);
  tav::CTavCombo* combo = doc.AddCombo("C", type);
  for (int c = 0; c < kStatics; ++c) combo->AddLoad(tav::TaV_LOAD_STATIC, c, 1.2, 0.0);
  combo->AddLoad(tav::TaV_LOAD_RESPONSE_SPECTRUM, 0, 1.0, 0.0);
  combo->AddLoad(tav::TaV_LOAD_HISTORY, 0, -1.0, 0.0);
  combo->AddLoad(tav::TaV_LOAD_MOVING, 0, 0.8, 0.0);
  AddResponses(doc);
  doc.AllocResultForceBuff();
  FillCases(doc);
  const auto elements = static_cast<size_t>(doc.GetCountBeam() * doc.GetCountResultStation() + doc.GetCountJoint());
  const double terms = static_cast<double>(combo->GetCountLoad());
  Composer composer(&doc);
  double seconds = 0.0;
  int64_t runs = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    composer.ComposeComboData();
    seconds += Since(start);
    ++runs;
  }
  std::vector<std::vector<double>> arrays;
  const std::vector<PlainTerm> plainTerms = PlainTerms(arrays, elements);
  std::vector<double> maximum(6 * elements), minimum(6 * elements);
  double plain = 0.0;
  for (int64_t r = 0; r < runs; ++r) plain += PlainCompose(plainTerms, maximum, minimum, type == tav::TaV_COMBO_ENVE);
  const double perValue = 1e9 / (static_cast<double>(runs) * static_cast<double>(elements) * terms);
  state.counters["ns_per_element_term"] = seconds * perValue;
  state.counters["baseline_ns"] = plain * perValue;
  state.counters["ratio"] = seconds / plain;
}

// The solver's output of `doc` for its load cases, stations at every
// quarter of each beam.
std::string WriteOutput(const tav::CTavData& doc, const std::string& path) {
  tav::CFile file;
  file.Open(path, tav::CFile::modeCreate | tav::CFile::modeWrite);
  tav::CArchive ar(&file, tav::CArchive::store, 1 << 20);
  const int32_t stations = doc.GetCountResultStation();
  for (int32_t c = 0; c < doc.GetCountLoadCase(0); ++c) {
    ar << (c + 1);
    for (int32_t joint = 0; joint < doc.GetCountJoint(); ++joint) {
      ar << (joint + 1);
      for (int v = 0; v < 6; ++v) ar << 0.001 * (joint + v);
      ar.WriteString(std::string_view("ab\0de\0", 6));
    }
    ar << int32_t{0};
    for (int32_t beam = 0; beam < doc.GetCountBeam(); ++beam) {
      ar << (beam + 1);
      for (int v = 0; v < 12; ++v) ar << 1.0 * v;
      ar << stations;
      for (int32_t s = 0; s < stations; ++s) {
        ar << doc.GetLengthBeam(beam) * s / (stations - 1);
        for (int v = 0; v < 6; ++v) ar << 1.5 * (beam + s + v);
      }
    }
    for (int32_t joint = 0; joint < doc.GetCountJoint(); ++joint) {
      ar << (joint + 1);
      ar.WriteString(std::string_view("REACTION-A\0REACTION-B\0", 22));
      for (int v = 0; v < 6; ++v) ar << -1.0 * (joint + v);
    }
  }
  ar.Close();
  file.Close();
  return path;
}

template <typename T>
T Load(const uint8_t* at) {
  T value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

// The same import over the whole file in memory: the blocks zero filled,
// the values copied, each position divided by its beam's length (all six
// reactions active, every number trusted). Its buffers are kept from run
// to run, as the document keeps its result store.
struct PlainBuffers {
  std::vector<uint8_t> bytes;
  std::vector<double> joints, beams;
};

double PlainImport(const tav::CTavData& doc, const std::string& path, PlainBuffers& buffers) {
  const auto start = Clock::now();
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t>& bytes = buffers.bytes;
  std::vector<double>& joints = buffers.joints;
  std::vector<double>& beams = buffers.beams;
  bytes.resize(std::filesystem::file_size(path));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  const auto cases = static_cast<size_t>(doc.GetCountLoadCase(1));
  const auto stations = static_cast<size_t>(doc.GetCountResultStation());
  const auto jointCount = static_cast<size_t>(doc.GetCountJoint());
  const auto beamCount = static_cast<size_t>(doc.GetCountBeam());
  joints.assign(18 * jointCount * cases, 0.0);
  beams.assign(7 * stations * beamCount * cases, 0.0);
  const uint8_t* at = bytes.data();
  for (size_t c = 0; c < static_cast<size_t>(doc.GetCountLoadCase(0)); ++c) {
    const auto resultCase = static_cast<size_t>(Load<int32_t>(at) - 1);
    at += 4;
    for (size_t i = 0; i < jointCount; ++i, at += 58) {
      const auto joint = static_cast<size_t>(Load<int32_t>(at) - 1);
      std::memcpy(&joints[18 * (cases * joint + resultCase) + 6], at + 4, 48);
    }
    at += 4;
    for (size_t i = 0; i < beamCount; ++i) {
      const auto beam = static_cast<size_t>(Load<int32_t>(at) - 1);
      const auto count = static_cast<size_t>(Load<int32_t>(at + 100));
      at += 104;
      double* block = &beams[7 * stations * (cases * beam + resultCase)];
      std::memcpy(block, at, 56 * count);
      const double length = doc.GetLengthBeam(static_cast<int32_t>(beam));
      for (size_t s = 0; s < count; ++s) block[7 * s] /= length;
      at += 56 * count;
    }
    for (size_t i = 0; i < jointCount; ++i, at += 74) {
      const auto joint = static_cast<size_t>(Load<int32_t>(at) - 1);
      std::memcpy(&joints[18 * (cases * joint + resultCase)], at + 26, 48);
    }
  }
  benchmark::DoNotOptimize(joints.data());
  benchmark::DoNotOptimize(beams.data());
  return Since(start);
}

// Whether the document's blocks hold the plain importer's values.
bool SameValues(const tav::CTavData& doc, const std::vector<double>& joints, const std::vector<double>& beams) {
  const int32_t cases = doc.GetCountLoadCase(1);
  const int32_t stations = doc.GetCountResultStation();
  std::vector<double> value(18);
  for (int32_t c = 0; c < cases; ++c) {
    for (int32_t joint = 0; joint < doc.GetCountJoint(); ++joint) {
      doc.GetResultValue_Joint(joint, c, value.data(), 18);
      const auto at = static_cast<std::ptrdiff_t>(18 * (cases * joint + c));
      if (!std::equal(value.begin(), value.end(), joints.begin() + at)) return false;
    }
    for (int32_t beam = 0; beam < doc.GetCountBeam(); ++beam) {
      for (int32_t s = 0; s < stations; ++s) {
        doc.GetResultValue_Beam(beam, c, s, value.data(), 7);
        const auto at = static_cast<std::ptrdiff_t>(7 * (stations * (cases * beam + c) + s));
        if (!std::equal(value.begin(), value.begin() + 7, beams.begin() + at)) return false;
      }
    }
  }
  return true;
}

void ImportOwnOutput(benchmark::State& state, FrameSize size) {
  static_assert(std::endian::native == std::endian::little, "the plain importer copies the file's bytes");
  tav::CTavData doc;
  BuildFrame(doc, size);
  const std::string path =
      WriteOutput(doc, (std::filesystem::temp_directory_path() / "tav_results_bench.tvo").string());
  const auto bytes = static_cast<double>(std::filesystem::file_size(path));
  double seconds = 0.0;
  int64_t runs = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    if (tav::CTavImportTavOutput(&doc).LoadData(path) != 1) state.SkipWithError("the output was refused");
    seconds += Since(start);
    ++runs;
  }
  PlainBuffers buffers;
  double plain = 0.0;
  for (int64_t r = 0; r < runs; ++r) plain += PlainImport(doc, path, buffers);
  const double equal = SameValues(doc, buffers.joints, buffers.beams) ? 1.0 : 0.0;
  state.counters["GBps"] = bytes * static_cast<double>(runs) / seconds * 1e-9;
  state.counters["baseline_GBps"] = bytes * static_cast<double>(runs) / plain * 1e-9;
  state.counters["ratio"] = plain / seconds;
  state.counters["same_values"] = equal;
  std::filesystem::remove(path);
}

}  // namespace

int main(int argc, char** argv) {
  const FrameSize size = tav::bench::TakeFullFlag(argc, argv) ? FrameSize{31, 25} : FrameSize{};
  benchmark::RegisterBenchmark("Compose", Compose, size)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("ImportOwnOutput", ImportOwnOutput, size)->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
