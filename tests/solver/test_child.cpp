// A child program for the redirection tests: what it prints is chosen by
// its first argument.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

void Out(const std::string& text) { [[maybe_unused]] auto n = ::write(1, text.data(), text.size()); }
void Err(const std::string& text) { [[maybe_unused]] auto n = ::write(2, text.data(), text.size()); }

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "lines") {
    Out("first\r\n\r\nsecond\r\n");
  } else if (mode == "nul") {
    Out(std::string("a\0b\n", 4));
    Err(std::string("x\0y", 3));
  } else if (mode == "long") {
    Out(std::string(15000, 'x') + "\n");
  } else if (mode == "stderr") {
    Err("err1\nerr2\n");
  } else if (mode == "pid") {
    Out("pid " + std::to_string(::getpid()) + "\n");
  } else if (mode == "hang") {
    Out("started " + std::to_string(::getpid()) + "\n");
    for (;;) ::pause();
  } else if (mode == "stdin") {
    char line[256] = {};
    if (std::fgets(line, sizeof line, stdin) != nullptr) Out(std::string("got ") + line);
  } else if (mode == "exit") {
    return argc > 2 ? std::atoi(argv[2]) : 0;
  }
  return 0;
}
