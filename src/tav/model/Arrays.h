// Growable arrays of 32-bit integers and of doubles with the archive form
// "LONG count, then the values". They copy by value.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "tav/platform/Archive.h"

namespace tav {

template <typename T>
class CValueArray {
 public:
  CValueArray() = default;
  CValueArray(std::initializer_list<T> values) : m_values(values) {}

  // Appends `value` and returns its index.
  int32_t Add(T value) {
    m_values.push_back(value);
    return static_cast<int32_t>(m_values.size() - 1);
  }
  int32_t GetSize() const { return static_cast<int32_t>(m_values.size()); }
  T GetAt(int32_t i) const { return m_values[static_cast<size_t>(i)]; }
  void SetAt(int32_t i, T value) { m_values[static_cast<size_t>(i)] = value; }
  T& operator[](int32_t i) { return m_values[static_cast<size_t>(i)]; }
  const T& operator[](int32_t i) const { return m_values[static_cast<size_t>(i)]; }
  // New elements are zero.
  void SetSize(int32_t n) { m_values.resize(n < 0 ? 0 : static_cast<size_t>(n)); }
  void RemoveAll() { m_values.clear(); }

  auto begin() const { return m_values.begin(); }
  auto end() const { return m_values.end(); }
  bool operator==(const CValueArray&) const = default;

  void Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
      ar << GetSize();
      for (const T& value : m_values) ar << value;
    } else {
      int32_t count = 0;
      ar >> count;
      ar.CheckCount(count, sizeof(T), "array values");
      SetSize(count);
      for (T& value : m_values) ar >> value;
    }
  }

 private:
  std::vector<T> m_values;
};

using CLongArray = CValueArray<int32_t>;
using CDoubleArray = CValueArray<double>;

}  // namespace tav
