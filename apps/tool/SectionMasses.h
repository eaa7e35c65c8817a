// Joint masses derived from the beams' sections, so that a model's mass
// need not be computed by hand: each beam's mass W x A x L goes half to each
// of its two joints, along X, Y and Z. W is the section's unit weight taken
// as the material's mass per unit volume (in the units of the model's
// masses: a weight per unit volume must first be divided by the
// acceleration of gravity), A its area, L the beam's length between its
// joints. Rotational inertia is not derived.
#pragma once

#include "tav/document/TavData.h"

namespace tav::tool {

// Adds the masses to the document's joint masses (beside those it holds)
// and returns their total.
double AddSectionMasses(CTavData& doc);

}  // namespace tav::tool
