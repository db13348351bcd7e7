#pragma once
// The easing curve of one scroll motion: progress 0 → 1 over normalised time t,
// starting with slope v (0 = soft start) and coming to rest at t = 1. A larger
// exponent n moves the bulk of the motion earlier, with a longer tail.

double Ease(double t, double n, double v);

// The curve's slope at t, used to carry the present speed into a blended notch.
double EaseSlope(double t, double n, double v);
