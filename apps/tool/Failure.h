// How a command of the `tav` tool fails: a status and a message that ends
// it, thrown from wherever the failure is found and reported once.
#pragma once

#include <string>
#include <utility>

namespace tav::tool {

// A failure that ends a command with its exit status; the message is
// printed as it stands.
struct Failure {
  int status;
  std::string message;
};

[[noreturn]] inline void Fail(int status, std::string message) { throw Failure{status, std::move(message)}; }

}  // namespace tav::tool
