// JSON model files: the text parsed, a model read into a document (every
// value checked before the library sees it) and a document written as a
// model. The functions borrow what they are given for the call only.
#pragma once

#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

#include "tav/document/TavData.h"

namespace tav::json {

// Object keys keep their order, so a written model reads as the format
// lists its keys.
using Json = nlohmann::ordered_json;

// A model file that cannot be used: `Path()` is the JSON pointer of the
// offending value ("" for the whole document), `what()` the message.
class ModelError : public std::runtime_error {
 public:
  ModelError(std::string path, const std::string& message) : std::runtime_error(message), m_path(std::move(path)) {}
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

// Parses JSON text; text that is not valid JSON (a syntax error, a number beyond
// a double) is a ModelError at "" naming line and column.
Json ParseModelText(const std::string& text);
// Builds `doc` (which must be empty) from a model; throws ModelError, and
// then leaves `doc` as it was, when any value of the model cannot be used.
void BuildModel(const Json& model, CTavData& doc);
// The model a document holds, in the same form; throws ModelError (at the
// place it would have in the model) for a value the form has no name for.
Json ModelToJson(const CTavData& doc);

}  // namespace tav::json
