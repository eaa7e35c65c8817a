#include "support/TempDir.h"

#include <cstdlib>
#include <stdexcept>

namespace tav::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tav-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary directory");
  m_path = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

}  // namespace tav::test
