// Models shared by the writer tests.
#pragma once

#include "tav/document/TavData.h"

namespace tav::test {

// The frame of the own-format worked example: title FRAME, a column of two
// joints (the first fixed), one rectangular section (E 2.1e7, 0.3 x 0.5), one
// beam, one static case `caseName` with PX 10 at the top joint.
void BuildSmallFrame(CTavData& doc, const CString& caseName);

// A model that touches every block of the Sap and Midas formats: two beam
// groups, single and multi-degree springs, two link groups, local systems,
// static cases with every load kind and a self weight, history, spectrum
// and moving cases, and combinations with terms of every kind.
void BuildExchangeModel(CTavData& doc);

}  // namespace tav::test
