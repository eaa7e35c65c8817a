// Reads the printed output of a Sap run into a document's result store. The
// report is paged: a form feed and a spaced-letter title open a page, load
// case title lines open a case block, element lines open a frame element
// block, and rows of numbers carry the results. The reader classifies each
// line and stores each row where its page says. Borrows the document (which
// must outlive it) and the progress bar, if the host sets one.
#pragma once

#include <string_view>

#include "tav/document/TavData.h"
#include "tav/platform/String.h"
#include "tav/platform/TextPieces.h"
#include "tav/results/ProgressBar.h"

namespace tav {

class CTavImportSapOutput {
 public:
  explicit CTavImportSapOutput(CTavData* data) : m_pData(data) {}
  virtual ~CTavImportSapOutput() = default;
  CTavImportSapOutput(const CTavImportSapOutput&) = delete;
  CTavImportSapOutput& operator=(const CTavImportSapOutput&) = delete;

  // Returns 1 when the file was read to its end; 0 when it cannot be opened
  // or has fewer than five lines (no message), or when the model's results do
  // not fit in memory or the file's case blocks, case names or rows do not fit
  // the model (after the message box saying so; what was stored stays).
  int LoadData(const CString& path);

  // Receives the file length and the reading position in KiB; none: no
  // progress is shown.
  CProgressBar* m_pProgress = nullptr;

 protected:
  // The classes ReadOneLine gives a line.
  enum LineClass {
    kPageBreak = 0,
    kCaseTitle = 1,
    kElement = 2,
    kData = 4,
    kArrangedData = 5,
    kEndOfFile = 6,
    kOther = 7,
  };
  enum Page { kNoPage = 9 };
  enum CaseKind { kLoad = 0, kMaximum = 1, kMinimum = 2, kNotImported = 3 };

  // Checks that the displacement pages hold one block per result case;
  // rewinds the file. 0 after the message when they do not.
  int GetDataInfo();
  int ReadOneLine();
  // Reads a piece and classifies it when it is a page break, case title or
  // element line (or the end); kOther for any other piece.
  int ReadMarkerLine();
  // Stores the current row; a row that does not fit the model throws.
  int ProcessDataLine();
  // The result case named at the start of `text`, or -1.
  int32_t ProcessLCName(std::string_view text);
  // Reads the numbers at the start of `text` one after the other into
  // `numbers` (at most ten kept, the rest 0); returns how many were read.
  static int GetOneLineNumber(std::string_view text, double* numbers);

  CTavData* m_pData;
  // The report in pieces of at most 99 characters: a longer line is read as
  // several, each classified on its own.
  CTextPieces m_file{99};
  std::string_view m_line;  // the current piece, borrowed from m_file
  int32_t m_nPage = kNoPage;
  int32_t m_nLoadCase = 0;
  int32_t m_nCaseKind = kNotImported;
  int32_t m_nElement = 0;
  double m_dNumber[10] = {};
  int32_t m_nStation = 0;

 private:
  // The next piece into m_line; false at the end.
  bool ReadRawLine();
  // Classifies the current piece, not a marker, by the numbers it holds.
  int ClassifyRow();
  // Throws the error of a row that does not fit the model, `what` after the
  // line it stands on.
  [[noreturn]] void Mismatch(const std::string& what) const;
  // The index of the 1-based `number` among `count`; throws when outside.
  int32_t CheckedIndex(double number, int32_t count, const char* what) const;
  // Replaces the values of a joint row by the active degrees of freedom.
  void ArrangeByDof();
  void ReportProgress();
};

}  // namespace tav
