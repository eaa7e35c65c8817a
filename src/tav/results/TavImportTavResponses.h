// Reads the response file the bundled program writes beside its output (the
// output's name with the extension ".tvh") when the model has history or
// moving load cases. Little-endian, int32 and IEEE doubles:
//
//   mark "TAVRESPS" (8 bytes), layout version (1), joints J, beams B, cases C
//   each beam's station count (B int32, beams in number order)
//   C case records, the history cases in number order, then the moving ones:
//     kind (1 history, 3 moving: the TaV_LOAD_TYPE values), number within
//     its kind from 1, failed (0 solved; 1 failed, every value 0, no steps)
//     maximum: J x 6 displacements (X Y Z RX RY RZ, global), J x 6
//       reactions in the same order, then each beam's stations x 6 member
//       forces (N V2 V3 T M2 M3)
//     minimum: the same layout
//     steps T (history: the steps + 1, time 0 included; moving: 0)
//     dt (double; 0 for a moving case)
//     T step records: time, J x 6 displacements, J x 6 reactions (doubles)
//   nothing after the last case
//
// The file must fit the document: its joint and beam counts, no beam with
// more stations than the result store keeps (GetCountResultStation), and one
// record for every history and moving case of the document, in order.
//
// Borrows the document, which must outlive the reader. The file is read
// whole before the document's responses are replaced, so a file that is
// short, damaged, holds a value that is not a finite number or was made for
// another model leaves them as they were. Read it before the output file:
// the output import composes the combinations from the responses it finds.
#pragma once

#include "tav/document/TavData.h"
#include "tav/platform/String.h"

namespace tav {

class CTavImportTavResponses {
 public:
  explicit CTavImportTavResponses(CTavData* data) : m_pData(data) {}

  // Returns 1 when the responses were read into the document; 0 when the
  // file cannot be opened or is refused, with the reason (naming the byte
  // offset where it applies) in `problem` when given.
  int LoadData(const CString& path, CString* problem = nullptr);

 private:
  CTavData* m_pData;
};

}  // namespace tav
