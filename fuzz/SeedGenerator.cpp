// Writes the generated part of the fuzz seed corpus from models the library
// builds: the own output and the response file of the bundled analysis and
// a Sap report for the result model, archives and own inputs of the result
// model, the exchange model of the tests and the example models, and the
// example model files.
//   fuzz_seed_generator SOURCE_DIR CORPUS_DIR
// Run it after a change of a format; the tiny hand-made seeds beside these
// files are kept as they are.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "FuzzSupport.h"
#include "analysis/FrameAnalysis.h"
#include "analysis/InputReader.h"
#include "analysis/OutputFile.h"
#include "analysis/ResponseFile.h"
#include "support/Models.h"
#include "tav/json/ModelJson.h"
#include "tav/results/TavImportSapOutput.h"
#include "tav/results/TavImportTavOutput.h"
#include "tav/results/TavImportTavResponses.h"

namespace fs = std::filesystem;
namespace {

using namespace tav;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void Save(CTavData& doc, const fs::path& path, TaV_INPUT_FORMAT format) {
  if (doc.Save(path.string(), format) != 1) throw std::runtime_error("cannot write " + path.string());
}

void Store(CTavData& doc, const fs::path& path) {
  CString error;
  if (doc.StoreArchive(path.string(), &error) != 1) throw std::runtime_error(error);
}

// The own output for `doc`, as the bundled program writes it.
void Analyse(CTavData& doc, const fs::path& output) {
  const fs::path input = fuzz::Scratch().File("model.tAv");
  Save(doc, input, TaV_FORMAT_TAV);
  const analysis::InputDeck deck = analysis::ReadInputFile(input.string());
  analysis::FrameAnalysis frame(deck, analysis::Messages{});
  analysis::WriteOutputFile(output.string(), deck, frame.Run());
}

// A Sap report for the result model without its history case: the head,
// then the displacement, restraint, spring, frame, modal, shell and link
// pages, one block per result case where the reader counts them.
std::string SapReport() {
  std::vector<std::string> lines;
  for (int i = 1; i <= 28; ++i) lines.push_back(" PROGRAM HEADER LINE " + std::to_string(i));
  const auto page = [&lines](const std::string& title) {
    lines.push_back("\f");
    lines.push_back(title);
    lines.push_back("");
  };
  const auto combination = [](const std::string& name, const std::string& marker) {
    std::string line = " COMB  " + name;
    line.resize(32, ' ');
    return line + marker;
  };
  const std::vector<std::string> cases = {" LOAD  DL",
                                          " LOAD  LL",
                                          combination("ULS", " MAX"),
                                          combination("ULS", " MIN"),
                                          combination("ENV", " MAX"),
                                          combination("ENV", " MIN")};
  page(" J O I N T   D I S P L A C E M E N T S");
  for (size_t c = 0; c < cases.size(); ++c) {
    lines.push_back(cases[c]);
    lines.push_back("  JOINT      U1        U3        R2");
    for (int joint = 1; joint <= 5; ++joint) {
      lines.push_back("     " + std::to_string(joint) + "   0.00" + std::to_string(c) + "   -0.002   0.0003");
    }
  }
  page(" R E S T R A I N T   F O R C E S");
  for (const std::string& title : {cases[0], cases[1]}) {
    lines.push_back(title);
    lines.push_back("     1   10   20   30");
    lines.push_back("     5   1 2 3 4 5 6");
  }
  page(" S P R I N G   F O R C E S");
  lines.push_back(cases[1]);
  lines.push_back("     3   1.5   2.5   3.5   4.5");
  page(" F R A M E   E L E M E N T   F O R C E S");
  for (const std::string& title : {cases[0], cases[2]}) {
    lines.push_back(title);
    for (int element = 1; element <= 4; ++element) {
      lines.push_back(" ELEM " + std::to_string(element));
      for (int station = 0; station < 3; ++station) {
        lines.push_back("   " + std::to_string(1.5 * station) + "  -12.5 3 0 0 1.25 " + std::to_string(20 - station));
      }
    }
  }
  page(" M O D A L   P E R I O D S   A N D   F R E Q U E N C I E S");
  lines.push_back("    1    0.5    2.0    12.566    0.1");
  page(" M O D A L   P A R T I C I P A T I N G   M A S S   R A T I O S");
  lines.push_back("    1  0.1  0.2  0.3  0.4  0.5  0.6  0.7");
  page(" S H E L L   E L E M   I N T E R N A L   F O R C E S   &   S T R E S S E S");
  lines.push_back("    1 2 3 4 5 6 7");
  page(" N L L I N K   F O R C E S");
  lines.push_back(" MOVE  TRUCK");
  lines.push_back("     1   7 7 7 7 7 7");
  lines.push_back(cases[5]);
  lines.push_back("     2   11 12 13 14 15 16");
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// The response file of `doc`, as the bundled program writes it; every case
// must be solved.
void AnalyseResponses(CTavData& doc, const fs::path& path) {
  const fs::path input = fuzz::Scratch().File("responses.tAv");
  Save(doc, input, TaV_FORMAT_TAV);
  const analysis::InputDeck deck = analysis::ReadInputFile(input.string());
  analysis::FrameAnalysis frame(deck, analysis::Messages{});
  const std::vector<analysis::CaseResult> results = frame.Run();
  for (const analysis::CaseResult& result : results) {
    if (!result.error.empty()) throw std::runtime_error("the response model: " + result.error);
  }
  analysis::WriteResponseFile(path.string(), deck, results, frame.Responses());
}

// Whether the reader takes `bytes` as the response file of `doc`.
bool ReadsResponses(CTavData& doc, const std::string& bytes) {
  const fs::path path = fuzz::Scratch().File("seed.tvh");
  WriteText(path, bytes);
  return CTavImportTavResponses(&doc).LoadData(path.string()) == 1;
}

// The response file of the result model with a moving case along its
// girders (the model fuzz/import_responses.cpp reads into), its history case
// four static steps of the live load; and damaged copies the reader refuses.
void GenerateResponses(const fs::path& corpus) {
  const fs::path directory = corpus / "import_responses";
  fs::create_directories(directory);
  CTavData doc;
  fuzz::BuildResultModel(doc, true);
  doc.AddMovingLoad("ML")->AddMovingLoad_Lane(2, 3, 0.5, 0.5);
  CTavLoadHistory& history = *doc.GetHistoryLoad(0);
  history.AddLoadHistory_NST(4, 0.25);
  history.AddLoadStatic_Joint(2, 5, 0, -20, 0, 0, 0, 0);
  AnalyseResponses(doc, directory / "result-model.tvh");
  const std::string valid = ReadText(directory / "result-model.tvh");
  if (!ReadsResponses(doc, valid)) throw std::runtime_error("the response file of the result model does not read back");
  std::string notFinite = valid;
  notFinite.replace(notFinite.size() - 8, 8, "\x00\x00\x00\x00\x00\x00\xf8\x7f", 8);  // a NaN
  std::string movingFirst = valid;
  movingFirst[40] = 3;  // the first case's kind, after the header and the four beams' station counts
  const std::pair<const char*, std::string> damaged[] = {{"damaged-half", valid.substr(0, valid.size() / 2)},
                                                         {"damaged-trailing", valid + "x"},
                                                         {"damaged-nan", notFinite},
                                                         {"damaged-kind", movingFirst}};
  for (const auto& [name, bytes] : damaged) {
    if (ReadsResponses(doc, bytes)) throw std::runtime_error(std::string("the reader takes ") + name);
    WriteText(directory / name, bytes);
  }
}

void Generate(const fs::path& source, const fs::path& corpus) {
  for (const char* target :
       {"import_tav_output", "import_sap_output", "model_archive", "model_json", "analysis_input"}) {
    fs::create_directories(corpus / target);
  }
  {
    CTavData doc;
    fuzz::BuildResultModel(doc, true);
    Analyse(doc, corpus / "import_tav_output" / "result-model.tvo");
    Store(doc, corpus / "model_archive" / "result-model.tavdoc");
    Save(doc, corpus / "analysis_input" / "result-model.tAv", TaV_FORMAT_TAV);
    CTavImportTavOutput reader(&doc);
    if (reader.LoadData((corpus / "import_tav_output" / "result-model.tvo").string()) != 1) {
      throw std::runtime_error("the own output of the result model does not read back");
    }
  }
  {
    WriteText(corpus / "import_sap_output" / "result-model.out", SapReport());
    CTavData doc;
    fuzz::BuildResultModel(doc, false);
    CTavImportSapOutput reader(&doc);
    if (reader.LoadData((corpus / "import_sap_output" / "result-model.out").string()) != 1) {
      throw std::runtime_error("the Sap report of the result model does not read back");
    }
  }
  {
    CTavData empty;
    Store(empty, corpus / "model_archive" / "empty-model.tavdoc");
    Save(empty, corpus / "analysis_input" / "empty-model.tAv", TaV_FORMAT_TAV);
  }
  {
    CTavData doc;
    test::BuildExchangeModel(doc);
    Store(doc, corpus / "model_archive" / "exchange.tavdoc");
    Save(doc, corpus / "analysis_input" / "exchange.tAv", TaV_FORMAT_TAV);
  }
  // The building's archive is left out: it is longer than the archive runs
  // let an input be.
  for (const char* name : {"portal", "continuous-beam", "springs-gaps", "building"}) {
    const std::string text = ReadText(source / "examples" / (std::string(name) + ".json"));
    WriteText(corpus / "model_json" / (std::string(name) + ".json"), text);
    CTavData doc;
    json::BuildModel(json::ParseModelText(text), doc);
    if (std::string(name) != "building") Store(doc, corpus / "model_archive" / (std::string(name) + ".tavdoc"));
    Save(doc, corpus / "analysis_input" / (std::string(name) + ".tAv"), TaV_FORMAT_TAV);
  }
  GenerateResponses(corpus);
  for (const char* name :
       {"own_eigen_determinant.tav", "own_groups_mixed.tav", "own_header_full.tav", "own_loads.tav"}) {
    WriteText(corpus / "analysis_input" / name, ReadText(source / "tests" / "golden" / name));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: fuzz_seed_generator SOURCE_DIR CORPUS_DIR\n");
    return 2;
  }
  try {
    Generate(argv[1], argv[2]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "fuzz_seed_generator: %s\n", error.what());
    return 1;
  }
  return 0;
}
