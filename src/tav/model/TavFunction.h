// The function table: time functions and spectra that dynamic load cases
// refer to by number. The document owns exactly one; records are held by
// value, so a returned pointer stays valid until the next AddFunction,
// AddFunctionDefault or ClearData.
#pragma once

#include <vector>

#include "tav/model/TavTypes.h"
#include "tav/platform/Archive.h"
#include "tav/platform/String.h"

namespace tav {

class CTavFunction {
 public:
  CTavFunction() = default;
  virtual ~CTavFunction() = default;
  CTavFunction(const CTavFunction&) = default;
  CTavFunction& operator=(const CTavFunction&) = default;

  // Appends a function without points; returns its number.
  int32_t AddFunction(TaV_FUNCTION_TYPE type, double param1, double param2);
  // Appends a constant function through (0, 1) and (1, 1); returns its number.
  int32_t AddFunctionDefault();
  void AddFunctionValue(int32_t function, double x, double y);

  TaV_FUNCTION* GetFunction(int32_t function) { return &m_arrFunction[static_cast<size_t>(function)]; }
  const TaV_FUNCTION* GetFunction(int32_t function) const { return &m_arrFunction[static_cast<size_t>(function)]; }
  int32_t GetCount() const { return static_cast<int32_t>(m_arrFunction.size()); }
  void ClearData() { m_arrFunction.clear(); }
  // Version 0, the function count, then per function its number, type,
  // number of points, two parameters and the two value arrays. Loading
  // replaces the table.
  void Serialize(CArchive& ar);

  static CString GetStringFuncType(TaV_FUNCTION_TYPE type);
  // "   n TYPE=... POINTS=n" and the parameters that are not 0.
  CString GetStringData_Tav(int32_t function, TaV_REAL_PRECISION precision = TaV_PRECISION_SIX_DIGITS) const;

 private:
  std::vector<TaV_FUNCTION> m_arrFunction;
};

}  // namespace tav
