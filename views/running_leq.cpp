#include "views/running_leq.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace views {

namespace {

constexpr double kTenthLn10 = 0.23025850929940456840; // ln(10) / 10

// 10^(db / 10) in double precision.
double Energy(double db)
{
    return std::exp(db * kTenthLn10);
}

} // namespace

void RunningLeq(std::span<const float> levels, std::span<float> leq, float nullLevel)
{
    const std::size_t n = std::min(levels.size(), leq.size());
    // sum = the sum of 10^((L_k - top) / 10) over the levels so far, top the
    // highest of them: every term lies in (0, 1], so the sum stays below the
    // count.
    double top = 0.0, sum = 0.0;
    double count = 0.0;
    float previous = nullLevel;
    for (std::size_t i = 0; i < n; ++i) {
        const float level = levels[i];
        if (level == nullLevel || !std::isfinite(level)) {
            leq[i] = previous;
            continue;
        }
        const double l = level;
        if (count == 0.0) {
            top = l;
            sum = 1.0;
        } else if (l > top) {
            sum = sum * Energy(top - l) + 1.0;
            top = l;
        } else {
            sum += Energy(l - top);
        }
        count += 1.0;
        const double mean = top + 10.0 * std::log10(sum / count);
        if (std::isfinite(mean) && std::fabs(mean) <= double(std::numeric_limits<float>::max()))
            previous = float(mean);
        leq[i] = previous;
    }
}

} // namespace views
