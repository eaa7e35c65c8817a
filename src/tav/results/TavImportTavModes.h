// Reads the modal file the bundled program writes beside its output (the
// output's name with the extension ".tvm"): little-endian, the mark
// "TAVMODES", the layout version (1), the joint count, the mode count, the
// mass that moves per direction (6 doubles); then per mode its number
// (int32, from 1, in order), eigenvalue, circular frequency, frequency,
// period, six participation factors, six mass ratios and six values per
// joint of its shape (doubles). Nothing may follow the last mode.
//
// Borrows the document, which must outlive the reader. The file is read
// whole before the document's modes are replaced, so a file that is short,
// damaged, holds a value that is not a finite number or was made for a
// model with another joint count leaves them as they were.
#pragma once

#include "tav/document/TavData.h"
#include "tav/platform/String.h"

namespace tav {

class CTavImportTavModes {
 public:
  explicit CTavImportTavModes(CTavData* data) : m_pData(data) {}

  // Returns 1 when the modes were read into the document; 0 when the file
  // cannot be opened or is refused, with the reason (naming the byte offset
  // where it applies) in `problem` when given.
  int LoadData(const CString& path, CString* problem = nullptr);

 private:
  CTavData* m_pData;
};

}  // namespace tav
