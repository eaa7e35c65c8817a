#include "tav/platform/String.h"

namespace tav {

void SplitAtBlanks(const CString& text, CStringArray& out) {
  size_t pos = 0;
  for (;;) {
    const size_t begin = text.find_first_not_of(' ', pos);
    if (begin == CString::npos) return;
    const size_t end = text.find(' ', begin);
    out.push_back(text.substr(begin, end == CString::npos ? CString::npos : end - begin));
    if (end == CString::npos) return;
    pos = end;
  }
}

}  // namespace tav
