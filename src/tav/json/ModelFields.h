// A model file read into its records and records written as a model file,
// through the tables of ModelFields.cpp: the one place that names the keys
// of the format.
#pragma once

#include "tav/json/ModelFile.h"
#include "tav/json/ModelJson.h"

namespace tav::json {

// Every value checked where it stands; throws ModelError at the first that
// cannot be used.
file::Model ReadModelFile(const Json& model);
// Throws ModelError at the place of a value the format has no name for.
Json WriteModelFile(const file::Model& model);

}  // namespace tav::json
