// How the readers of the companion files (modes, responses) take a file:
// read whole through an archive before anything of the document changes,
// and every failure turned into 0 with its reason.
#pragma once

#include <stdexcept>
#include <utility>

#include "tav/platform/Archive.h"
#include "tav/platform/File.h"
#include "tav/platform/String.h"

namespace tav {

// Opens `path`, lets `read` take the whole file from an archive over it and
// hands what it returns to `store`; returns 1. A file that cannot be opened,
// or a std::runtime_error from `read` (a damaged or short file), returns 0
// with the reason, naming the file, in `problem` when given; `store` is then
// not called.
template <class Read, class Store>
int ReadWholeFile(const CString& path, CString* problem, Read read, Store store) {
  CFile file;
  CString reason;
  if (!file.Open(path, CFile::modeRead, &reason)) {
    if (problem) *problem = "cannot open \"" + path + "\": " + reason;
    return 0;
  }
  try {
    CArchive ar(&file, CArchive::load, 1 << 16);
    auto value = read(ar);
    ar.Close();
    store(std::move(value));
    return 1;
  } catch (const std::runtime_error& error) {  // ArchiveError, FileError, the reader's own
    if (problem) *problem = path + ": " + error.what();
    return 0;
  }
}

}  // namespace tav
