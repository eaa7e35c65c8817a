// One value of a JSON model with its JSON pointer, and the checks that read
// it: each either returns the value in the form asked for or throws a
// ModelError at the value's place. A node borrows the JSON it stands on,
// which must outlive it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "tav/json/ModelJson.h"

namespace tav::json {

// A list of names; a name's position is the value it stands for.
using Names = std::span<const char* const>;

class Node {
 public:
  Node(const Json& value, std::string path) : m_value(value), m_path(std::move(path)) {}

  const std::string& Path() const { return m_path; }
  [[noreturn]] void Fail(const std::string& message) const;

  // An object whose keys all pass `isKey`: the first key that does not is
  // reported at its own place.
  template <typename IsKey>
  const Node& Object(IsKey isKey) const {
    RequireObject();
    for (const auto& item : m_value.items()) {
      if (!isKey(item.key())) FailUnknownKey(item.key());
    }
    return *this;
  }
  bool Has(const char* key) const { return m_value.contains(key); }
  // The value at `key`, which must be there.
  Node operator[](const char* key) const;

  // The length of an array.
  size_t Size() const;
  Node At(size_t i) const { return Node(m_value.at(i), m_path + "/" + std::to_string(i)); }
  template <typename Visit>
  void Each(Visit visit) const {
    const size_t n = Size();
    for (size_t i = 0; i < n; ++i) visit(At(i), i);
  }

  double Number() const;
  // A number from `low` to `high`; `range` says so in words.
  double Number(double low, double high, const char* range) const;
  int32_t Integer(long long low, long long high) const;
  // A 1-based reference to one of `count` objects named `what`; 0-based result.
  int32_t Reference(int32_t count, const std::string& what) const;
  bool Bool() const;
  // Texts go into line-oriented solver inputs, so they may not break a line.
  std::string String() const;
  // The position of the text among `names`.
  int Choice(Names names) const;
  // An array of exactly `count` numbers.
  std::vector<double> Numbers(size_t count) const;
  // A set of names from `names` (each once) as bits, bit i for names[i].
  uint8_t Flags(Names names) const;

 private:
  void RequireObject() const;
  [[noreturn]] void FailUnknownKey(const std::string& key) const;

  const Json& m_value;
  std::string m_path;
};

}  // namespace tav::json
