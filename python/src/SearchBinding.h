// search(): one run of a catalogue method or a Method of the user's own on a
// formula or a callable.
#pragma once

#include <pybind11/pybind11.h>

namespace Velmora::Python {

void addSearch(pybind11::module_& m);

}  // namespace Velmora::Python
