// The running energetic equivalent level (Leq) of a series of levels: point i
// holds the energy mean of every level from the first point up to point i,
//
//   Leq_1 = L_1,   Leq_i = 10 log10( ((i - 1) / i) 10^(Leq_(i-1) / 10) + (1 / i) 10^(L_i / 10) ).
//
// The sum of the energies is kept in double precision relative to the highest
// level seen so far, so no level, however high, overflows: the result is the
// same energy mean without a power that could run out of range.
//
// A point without a reading (the null level, or a value that is not a finite
// number) does not enter the mean: its Leq is the one before it, or the null
// level while there is none yet. A mean that is not a finite number keeps the
// previous Leq as well. Qt-free.
#pragma once

#include <span>

namespace views {

// leq receives one value per level (levels and leq have the same size; extra
// elements of leq are left as they are).
void RunningLeq(std::span<const float> levels, std::span<float> leq, float nullLevel);

} // namespace views
