#pragma once
// Adaptive Gauss–Kronrod (7/15 point) integration of a smooth function on a
// finite interval, in extended precision. Used for lengths that have no
// closed form, such as an arc of a circle after a non-uniform scale (an
// elliptical arc).

#include <functional>

// The integral of f over [a, b] to the relative tolerance relTol (absolute
// when the integral is near zero). Subdivides at most maxDepth levels; where
// that is reached the best estimate so far is used, so the result is never
// NaN for a finite, bounded f. a > b gives the negated integral.
long double acgeIntegrate(const std::function<long double(long double)>& f, long double a, long double b,
                          long double relTol = 1e-13L, int maxDepth = 40);
