// A history (time-history) load case: a static case's loads plus the
// settings of a dynamic analysis. Owned by the document.
#pragma once

#include "tav/loads/TavLoadStatic.h"
#include "tav/model/TavTypes.h"

namespace tav {

class CTavLoadHistory : public CTavLoadStatic {
 public:
  CTavLoadHistory() { CTavLoadHistory::Init(); }
  ~CTavLoadHistory() override { CTavLoadHistory::Destroy(); }

  // Name empty, history type 0, Newmark beta, no steps; the parameters stay.
  void Init() override;
  void Destroy() override {}
  // Version, number, steps, step length, type, mode, method, modes and the
  // parameters (count and values); version 1 adds the name, self-weight
  // switch, loads and self-weight record.
  void Serialize(CArchive& ar) override;

  // History type 0 ("NST") with its steps and step length.
  void AddLoadHistory_NST(double nste, double dt);
  // History type 1 ("DYNAMIC ANALYSYS"); the parameters are left as they are.
  void AddLoadHistory_DYNAMIC_ANALYSYS(TaV_DYNAMIC_ANALYSYS_MODE mode, TaV_INTEGRATION_METHOD method, int32_t modes,
                                       double nste, double dt);
  // The same, then for Wilson theta and Newmark beta the blank-separated
  // numbers of `parameters` are appended (an empty token gives 0.0, "//"
  // starts a comment).
  void AddLoadHistory_DYNAMIC_ANALYSYS(TaV_DYNAMIC_ANALYSYS_MODE mode, TaV_INTEGRATION_METHOD method, int32_t modes,
                                       double nste, double dt, const CString& parameters);

  CString GetStringLoadHistoryType() const;
  CString GetStringLoadHistoryMode() const;
  CString GetStringLoadHistoryMethod() const;
  // Each parameter with "%g " ; a single blank when there are none.
  CString GetStringLoadHistoryParameters(TaV_REAL_PRECISION precision = TaV_PRECISION_SIX_DIGITS) const;

  int32_t m_nHistoryIndex = -1;
  double m_dNste = 0.0;
  double m_dDt = 0.0;
  int32_t m_nHistoryType = 0;
  TaV_DYNAMIC_ANALYSYS_MODE m_eMode = TaV_MODE_DIRECT_INTEGRATION;
  TaV_INTEGRATION_METHOD m_eMethod = TaV_METHOD_NEWMARK_BETA;
  int32_t m_nModes = 0;
  CDoubleArray m_arrParameter;
};

// Appends the numbers of a blank-separated text to `values`, each token read
// as atof reads it (0.0 when it holds no number, a comma is no decimal
// point); an empty, blank or comment-only text adds nothing.
void AppendNumbersFromText(const CString& text, CDoubleArray& values);

}  // namespace tav
