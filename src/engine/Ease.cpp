#include "engine/Ease.h"

#include <cmath>

double Ease(double t, double n, double v) {
    if (t <= 0.0) return 0.0;
    if (t >= 1.0) return 1.0;
    const double rest = 1.0 - t;
    const double restPowN = std::pow(rest, n);
    return 1.0 - (1.0 + n * t) * restPowN + v * t * restPowN * rest;
}

double EaseSlope(double t, double n, double v) {
    if (t <= 0.0) return v;
    if (t >= 1.0) return 0.0;
    const double rest = 1.0 - t;
    const double restPowNMinus1 = std::pow(rest, n - 1.0);
    return n * (n + 1.0) * t * restPowNMinus1 + v * restPowNMinus1 * rest * (1.0 - (n + 2.0) * t);
}
