#pragma once

#include <cmath>

// Level conversions in the forms the effect's stored results rely on.

// 20 × log10(x) as ln(x) × 20 / ln(10); 0 gives -infinity.
inline double LinearToDb(double linear) { return std::log(linear) * 8.685889638065037; }

// 10^(dB / 20) as e^(dB × ln(10) / 20).
inline double DbToLinear(double db) { return std::exp(db * 0.1151292546497); }
