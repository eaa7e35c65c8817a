#include "tav/util/Tokenize.h"

namespace tav {
namespace {

constexpr const char* kWhiteSpace = " \t\r\n\v\f";

CString Trim(const CString& text) {
  const size_t first = text.find_first_not_of(kWhiteSpace);
  if (first == CString::npos) return {};
  const size_t last = text.find_last_not_of(kWhiteSpace);
  return text.substr(first, last - first + 1);
}

}  // namespace

int TokenizeText(CStringArray& out, CString text, char separator, const CString* comment, int skipEmpty) {
  if (comment != nullptr && !comment->empty()) {
    const size_t cut = text.find(*comment);
    if (cut != CString::npos) text.erase(cut);
  }
  if (text.empty() || text.find_first_not_of(' ') == CString::npos) return 0;

  out.clear();
  CString rest = std::move(text);
  for (;;) {
    const size_t at = rest.find(separator);
    CString token;
    if (at == CString::npos) {
      token = rest;
    } else if (at == 0) {
      token = " ";
      rest.erase(0, 1);
    } else {
      token = rest.substr(0, at);
      rest.erase(0, at + 1);
    }
    token = Trim(token);
    if (skipEmpty == 0 || !token.empty()) out.push_back(std::move(token));
    if (at == CString::npos) return 1;
  }
}

}  // namespace tav
