// A host that reads a JSON model through the installed package's Tav::json
// and writes the document back as JSON.
#include <tav/json/ModelJson.h>

#include <iostream>

int main() {
  tav::CTavData doc;
  try {
    tav::json::BuildModel(tav::json::ParseModelText(R"({"title": "JSON", "joints": [{"x": 0, "y": 0, "z": 0}]})"), doc);
  } catch (const tav::json::ModelError& error) {
    std::cerr << error.Path() << ": " << error.what() << "\n";
    return 1;
  }
  const tav::json::Json model = tav::json::ModelToJson(doc);
  std::cout << "TAV " << model["title"].get<std::string>() << " " << model["joints"].size() << "\n";
  return 0;
}
