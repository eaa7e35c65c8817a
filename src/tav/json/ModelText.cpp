// ParseModelText: JSON text to a model, with the place of a mistake in the
// text.
#include <algorithm>
#include <string>

#include "tav/json/ModelJson.h"

namespace tav::json {
namespace {

// Goes through the text as the parser does, building nothing, to learn where
// and why it fails: a syntax error names its line and column itself, but a
// number beyond a double ("1e999") is reported without a place.
class SyntaxCheck : public nlohmann::json_sax<Json> {
 public:
  bool null() override { return true; }
  bool boolean(bool /*value*/) override { return true; }
  bool number_integer(number_integer_t /*value*/) override { return true; }
  bool number_unsigned(number_unsigned_t /*value*/) override { return true; }
  bool number_float(number_float_t /*value*/, const string_t& /*text*/) override { return true; }
  bool string(string_t& /*value*/) override { return true; }
  bool binary(binary_t& /*value*/) override { return true; }
  bool start_object(std::size_t /*elements*/) override { return true; }
  bool key(string_t& /*value*/) override { return true; }
  bool end_object() override { return true; }
  bool start_array(std::size_t /*elements*/) override { return true; }
  bool end_array() override { return true; }
  bool parse_error(std::size_t position, const std::string& /*lastToken*/, const Json::exception& error) override {
    m_position = position;
    m_reason = error.what();
    m_isSyntaxError = dynamic_cast<const Json::parse_error*>(&error) != nullptr;
    return false;
  }

  // The reason without the parser's tag ("[json.exception.parse_error.101] "),
  // which says nothing to a user, and with the place where the parser has
  // none of its own.
  std::string Message(const std::string& text) const {
    std::string reason = m_reason;
    const size_t tag = reason.find("] ");
    if (reason.starts_with("[json.exception") && tag != std::string::npos) reason.erase(0, tag + 2);
    if (m_isSyntaxError) return reason;
    // The position counts the characters read, the last of them the one at fault.
    const size_t last = std::min(m_position, text.size());
    const size_t lineStart = last == 0 ? 0 : text.rfind('\n', last - 1) + 1;  // npos + 1 == 0
    const auto line = std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(lineStart), '\n') + 1;
    return "parse error at line " + std::to_string(line) + ", column " + std::to_string(last - lineStart) + ": " +
           reason;
  }

 private:
  size_t m_position = 0;
  std::string m_reason;
  bool m_isSyntaxError = false;
};

}  // namespace

Json ParseModelText(const std::string& text) {
  SyntaxCheck check;
  if (!Json::sax_parse(text, &check)) throw ModelError("", "not valid JSON: " + check.Message(text));
  return Json::parse(text);
}

}  // namespace tav::json
