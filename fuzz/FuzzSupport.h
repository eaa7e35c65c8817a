// What the fuzz targets share: the input as a file the readers open by
// name, a private directory for what a target writes, quiet message boxes,
// and the small models the result readers read into.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "tav/document/TavData.h"

namespace tav::fuzz {

// The fuzz input as a file: an anonymous file in memory, opened by the
// readers under a /proc path and rewritten for each input. One per process.
class InputFile {
 public:
  InputFile();
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Replaces the content by `size` bytes at `data`.
  void Assign(const uint8_t* data, size_t size);
  const std::string& Path() const { return m_path; }

 private:
  int m_fd = -1;
  std::string m_path;
};

// A directory of the process's own for the files a target writes, removed
// with its content when the process ends.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::string File(const std::string& name) const { return (m_path / name).string(); }

 private:
  std::filesystem::path m_path;
};

// The process's input file and scratch directory, made on first use.
InputFile& Input();
ScratchDir& Scratch();

// Message boxes answer IDOK without showing anything (the default handler
// writes to standard error, which would flood the fuzzer's log).
void SilenceMessages();

// What a file-reading target starts with: message boxes silenced and the
// `size` bytes at `data` as the input file, whose path is returned.
const std::string& TakeInput(const uint8_t* data, size_t size);

// Ends the run as a finding: the code under test broke one of its promises.
[[noreturn]] void Finding(const std::string& what);

// The model the result readers read into: a two-bay portal frame in the XZ
// plane (five joints, the two at the base fixed, four beams in two groups and
// a spring group between them with a spring at the middle joint), planar
// degrees of freedom (UX, UZ, RY), two force segments (three stations per
// beam), static cases DL and LL, a history case TH, and the combinations ULS
// (ADD of DL and LL) and ENV (ENVE of ULS and TH). Without the history case
// ENV is the envelope of ULS and LL: every case then has a name that a Sap
// report can give.
void BuildResultModel(CTavData& doc, bool withHistory);

// Asks the document the result queries a host draws from, over every result
// case, beam, station and joint (the range of one member force per case):
// whatever a reader stored, each answers.
void QueryResults(CTavData& doc);

}  // namespace tav::fuzz
