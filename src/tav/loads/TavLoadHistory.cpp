#include "tav/loads/TavLoadHistory.h"

#include "tav/model/OwnFormatWords.h"
#include "tav/model/Records.h"
#include "tav/model/TavText.h"
#include "tav/platform/Format.h"
#include "tav/util/Numbers.h"
#include "tav/util/Tokenize.h"

namespace tav {

void AppendNumbersFromText(const CString& text, CDoubleArray& values) {
  static const CString kComment = "//";
  CStringArray tokens;
  if (TokenizeText(tokens, text, ' ', &kComment, 0) == 0) return;
  for (const CString& token : tokens) values.Add(ParseLeadingDouble(token.c_str()));
}

void CTavLoadHistory::Init() {
  m_strName.clear();
  m_dNste = 0.0;
  m_dDt = 0.0;
  m_nHistoryType = 0;
  m_eMode = TaV_MODE_DIRECT_INTEGRATION;
  m_eMethod = TaV_METHOD_NEWMARK_BETA;
  m_nModes = 0;
}

// Version 1 adds what the case shares with a static case: its name,
// self-weight switch, loads and self-weight record.
void CTavLoadHistory::Serialize(CArchive& ar) {
  const int32_t version = SerializeVersion(ar, 1, "history load case");
  Exchange(ar, m_nHistoryIndex, m_dNste, m_dDt, m_nHistoryType, m_eMode, m_eMethod, m_nModes);
  m_arrParameter.Serialize(ar);
  if (version >= 1) {
    SerializeLoads(ar);
    SerializeOptional(ar, m_pSelfWeight, "self weight");
  }
}

void CTavLoadHistory::AddLoadHistory_NST(double nste, double dt) {
  m_dNste = nste;
  m_dDt = dt;
  m_nHistoryType = 0;
}

void CTavLoadHistory::AddLoadHistory_DYNAMIC_ANALYSYS(TaV_DYNAMIC_ANALYSYS_MODE mode, TaV_INTEGRATION_METHOD method,
                                                      int32_t modes, double nste, double dt) {
  m_eMode = mode;
  m_eMethod = method;
  m_nModes = modes;
  m_dNste = nste;
  m_dDt = dt;
  m_nHistoryType = 1;
}

void CTavLoadHistory::AddLoadHistory_DYNAMIC_ANALYSYS(TaV_DYNAMIC_ANALYSYS_MODE mode, TaV_INTEGRATION_METHOD method,
                                                      int32_t modes, double nste, double dt,
                                                      const CString& parameters) {
  AddLoadHistory_DYNAMIC_ANALYSYS(mode, method, modes, nste, dt);
  if (method == TaV_METHOD_WILSON_THETA || method == TaV_METHOD_NEWMARK_BETA) {
    AppendNumbersFromText(parameters, m_arrParameter);
  }
}

CString CTavLoadHistory::GetStringLoadHistoryType() const { return words::WordOf(words::kHistoryType, m_nHistoryType); }

CString CTavLoadHistory::GetStringLoadHistoryMode() const { return words::WordOf(words::kDynamicMode, m_eMode); }

CString CTavLoadHistory::GetStringLoadHistoryMethod() const {
  return words::WordOf(words::kIntegrationMethod, m_eMethod);
}

CString CTavLoadHistory::GetStringLoadHistoryParameters(TaV_REAL_PRECISION precision) const {
  if (m_arrParameter.GetSize() == 0) return " ";
  CString text;
  for (double value : m_arrParameter) text += GetPlainRealText(value, precision) + " ";
  return text;
}

}  // namespace tav
