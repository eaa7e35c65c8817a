#include "tav/model/TavText.h"

#include "tav/platform/Format.h"

namespace tav {

CString GetRealText(double value) {
  CString text = Format("%g", value);
  if (text.find('.') == CString::npos) text += '.';
  return text;
}

CString JoinFlagNames(uint8_t flags, const char* const (&names)[6], const char* separator) {
  CString text;
  for (int bit = 0; bit < 6; ++bit) {
    if (((flags >> bit) & 1U) == 0) continue;
    if (!text.empty()) text += separator;
    text += names[bit];
  }
  return text;
}

const char* SeparatorText(TaV_TEXT_SEPERATE_TYPE type) { return type == TaV_SEPERATE_COMMA ? "," : " "; }

CString JoinNonZeroValues(const double (&values)[6], const char* const (&names)[6]) {
  CString text;
  for (int i = 0; i < 6; ++i) {
    if (values[i] == 0.0) continue;
    if (!text.empty()) text += ' ';
    text += names[i];
    text += '=';
    text += GetRealText(values[i]);
  }
  return text;
}

}  // namespace tav
