#pragma once
// The natural logarithm the whole core uses: one algorithm, compiled without
// contraction, so every platform (desktop or browser) gives the same bits.

namespace diaspring {

// ln x: -infinity for zero, NaN below zero or for NaN, +infinity for +infinity.
double portableLog(double x);

}  // namespace diaspring
