#include "tav/model/TavFunction.h"

#include "tav/model/OwnFormatWords.h"
#include "tav/model/Records.h"
#include "tav/model/TavText.h"
#include "tav/platform/Format.h"

namespace tav {

int32_t CTavFunction::AddFunction(TaV_FUNCTION_TYPE type, double param1, double param2) {
  TaV_FUNCTION function;
  function.nIndex = GetCount();
  function.eType = type;
  function.dParam1 = param1;
  function.dParam2 = param2;
  m_arrFunction.push_back(std::move(function));
  return m_arrFunction.back().nIndex;
}

int32_t CTavFunction::AddFunctionDefault() {
  const int32_t number = AddFunction(TaV_FUNCTION_CONSTANT, 0.0, 0.0);
  AddFunctionValue(number, 0.0, 1.0);
  AddFunctionValue(number, 1.0, 1.0);
  return number;
}

void CTavFunction::AddFunctionValue(int32_t function, double x, double y) {
  TaV_FUNCTION* record = GetFunction(function);
  record->arrX.Add(x);
  record->arrY.Add(y);
  ++record->nPoints;
}

void CTavFunction::Serialize(CArchive& ar) {
  constexpr size_t kMinRecordBytes = 4 + 4 + 4 + 8 + 8 + 4 + 4;
  SerializeVersion(ar, 0, "function table");
  if (ar.IsStoring()) {
    ar << GetCount();
  } else {
    int32_t count = 0;
    ar >> count;
    ar.CheckCount(count, kMinRecordBytes, "functions");
    m_arrFunction.assign(static_cast<size_t>(count), TaV_FUNCTION{});
  }
  for (TaV_FUNCTION& f : m_arrFunction) {
    Exchange(ar, f.nIndex, f.eType, f.nPoints, f.dParam1, f.dParam2);
    f.arrX.Serialize(ar);
    f.arrY.Serialize(ar);
  }
}

CString CTavFunction::GetStringFuncType(TaV_FUNCTION_TYPE type) {
  // Any type other than a constant one is written as sinusoidal.
  return words::kFunctionType[type == TaV_FUNCTION_CONSTANT ? 0 : 1];
}

CString CTavFunction::GetStringData_Tav(int32_t function, TaV_REAL_PRECISION precision) const {
  const TaV_FUNCTION* record = GetFunction(function);
  CString text =
      Format("   %d TYPE=%s POINTS=%d", record->nIndex + 1, GetStringFuncType(record->eType).c_str(), record->nPoints);
  if (record->dParam1 != 0.0) text += Format(" %s", GetRealText(record->dParam1, precision).c_str());
  if (record->dParam2 != 0.0) text += Format(" %s", GetRealText(record->dParam2, precision).c_str());
  return text;
}

}  // namespace tav
