// Collects the message boxes shown while it lives, instead of showing them.
#pragma once

#include <vector>

#include "tav/platform/MessageBox.h"

namespace tav::test {

class MessageLog {
 public:
  MessageLog() {
    m_previous = SetMessageBoxHandler([this](const CString& text, unsigned type) {
      m_texts.push_back(text);
      m_types.push_back(type);
      return IDOK;
    });
  }
  ~MessageLog() { SetMessageBoxHandler(m_previous); }
  MessageLog(const MessageLog&) = delete;
  MessageLog& operator=(const MessageLog&) = delete;

  const std::vector<CString>& Texts() const { return m_texts; }
  unsigned LastType() const { return m_types.empty() ? 0 : m_types.back(); }

 private:
  MessageBoxHandler m_previous;
  std::vector<CString> m_texts;
  std::vector<unsigned> m_types;
};

}  // namespace tav::test
