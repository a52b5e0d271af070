// The catalogue, the test classes, class runs and their operational
// characteristics.
#pragma once

#include <pybind11/pybind11.h>

namespace Velmora::Python {

void addCatalogue(pybind11::module_& m);
void addClassRuns(pybind11::module_& m);

}  // namespace Velmora::Python
