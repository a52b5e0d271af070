// The global minimum of a test function and its Lipschitz constant, from its
// native form: a grid of GridPoints points, the cells where the slope turns
// from falling to rising, and a safeguarded Newton step on the slope in each
// of those cells that can hold the lowest minimum.
#pragma once

#include "NativeFunction.h"

namespace Velmora::Lab {

struct GlobalMinimum {
  double x;            ///< within 1e-9 of the minimiser; a or b exactly when the minimum lies there
  Extended value;      ///< the native value at x
  double largestSlope; ///< the largest |f'| over the grid
};

// Every cell whose grid value comes within the grid's error bound of the
// lowest is refined, so of two minima of nearly equal depth the deeper one
// wins even when the grid ranks them the other way. A minimum so shallow that
// the slope turns twice within one cell of the grid is not seen.
GlobalMinimum findGlobalMinimum(const NativeFunction& f);

}  // namespace Velmora::Lab
