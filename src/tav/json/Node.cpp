#include "tav/json/Node.h"

namespace tav::json {
namespace {

std::string Describe(const Json& value) {
  switch (value.type()) {
    case Json::value_t::null:
      return "null";
    case Json::value_t::boolean:
      return "a boolean";
    case Json::value_t::string:
      return "a string";
    case Json::value_t::array:
      return "an array";
    case Json::value_t::object:
      return "an object";
    default:
      return "a number";
  }
}

// A key as a JSON pointer writes it.
std::string PointerToken(const std::string& key) {
  std::string token;
  for (char ch : key) {
    if (ch == '~') {
      token += "~0";
    } else if (ch == '/') {
      token += "~1";
    } else {
      token += ch;
    }
  }
  return token;
}

}  // namespace

void Node::Fail(const std::string& message) const { throw ModelError(m_path, message); }

void Node::RequireObject() const {
  if (!m_value.is_object()) Fail("expected an object, found " + Describe(m_value));
}

void Node::FailUnknownKey(const std::string& key) const {
  throw ModelError(m_path + "/" + PointerToken(key), "unknown key \"" + key + "\"");
}

Node Node::operator[](const char* key) const {
  RequireObject();
  if (!m_value.contains(key)) Fail(std::string("missing key \"") + key + "\"");
  return Node(m_value.at(key), m_path + "/" + key);
}

size_t Node::Size() const {
  if (!m_value.is_array()) Fail("expected an array, found " + Describe(m_value));
  return m_value.size();
}

double Node::Number() const {
  if (!m_value.is_number()) Fail("expected a number, found " + Describe(m_value));
  return m_value.get<double>();
}

double Node::Number(double low, double high, const char* range) const {
  const double value = Number();
  if (!(value >= low && value <= high)) Fail("the value " + m_value.dump() + " is out of range: it must be " + range);
  return value;
}

int32_t Node::Integer(long long low, long long high) const {
  if (!m_value.is_number_integer()) Fail("expected a whole number, found " + Describe(m_value));
  const long long value = m_value.get<long long>();
  if (value < low || value > high) {
    Fail("the value " + std::to_string(value) + " is out of range: it must be from " + std::to_string(low) + " to " +
         std::to_string(high));
  }
  return static_cast<int32_t>(value);
}

int32_t Node::Reference(int32_t count, const std::string& what) const {
  if (!m_value.is_number_integer()) Fail("expected a " + what + " number, found " + Describe(m_value));
  const long long value = m_value.get<long long>();
  if (value < 1 || value > count) {
    Fail(what + " " + std::to_string(value) + " does not exist" +
         (count == 0 ? " (there are none)" : " (there are " + std::to_string(count) + ")"));
  }
  return static_cast<int32_t>(value - 1);
}

bool Node::Bool() const {
  if (!m_value.is_boolean()) Fail("expected true or false, found " + Describe(m_value));
  return m_value.get<bool>();
}

std::string Node::String() const {
  if (!m_value.is_string()) Fail("expected a string, found " + Describe(m_value));
  std::string text = m_value.get<std::string>();
  for (unsigned char ch : text) {
    if (ch < 0x20 || ch == 0x7F) Fail("the text holds a line break or another control character");
  }
  return text;
}

int Node::Choice(Names names) const {
  const std::string text = String();
  for (size_t i = 0; i < names.size(); ++i) {
    if (text == names[i]) return static_cast<int>(i);
  }
  std::string list;
  for (size_t i = 0; i < names.size(); ++i) list += (i == 0 ? "\"" : ", \"") + std::string(names[i]) + "\"";
  Fail("\"" + text + "\" is not one of " + list);
}

std::vector<double> Node::Numbers(size_t count) const {
  if (Size() != count) Fail("expected " + std::to_string(count) + " numbers, found " + std::to_string(Size()));
  std::vector<double> values;
  Each([&values](const Node& item, size_t) { values.push_back(item.Number()); });
  return values;
}

uint8_t Node::Flags(Names names) const {
  uint8_t flags = 0;
  Each([&](const Node& item, size_t) {
    const int bit = item.Choice(names);
    if ((flags >> bit) & 1U) item.Fail("\"" + std::string(names[static_cast<size_t>(bit)]) + "\" is given twice");
    flags = static_cast<uint8_t>(flags | (1U << bit));
  });
  return flags;
}

}  // namespace tav::json
