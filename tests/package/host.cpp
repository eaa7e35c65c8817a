// A host that knows the library only through its installed package.
#include <tav/Tav.h>

#include <cstdio>
#include <string>

int main() {
  tav::CTavData doc;
  doc.SetTitle("PACKAGE");
  doc.AddJoint(0.0, 0.0, 0.0, -1);
  const std::string path = "package_host.tav";
  if (doc.Save(path, tav::TaV_FORMAT_TAV) != 1) return 1;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return 1;
  char line[64] = {};
  const bool ok = std::fgets(line, sizeof line, file) != nullptr;
  std::fclose(file);
  std::fputs(line, stdout);
  return ok ? 0 : 1;
}
