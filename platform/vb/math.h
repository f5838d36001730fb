#pragma once

#include <cstdint>

// Arithmetic with the language's run-time errors where plain C++ would give inf, NaN or wrap.
namespace vb {

// a / b: b = 0 raises 11, and 0 / 0 raises 6, as the language does.
double divide(double a, double b);

// Natural logarithm; x <= 0 raises 5.
double Log(double x);

// A whole-number result kept in a 16-bit Integer or a 32-bit Long: out of range raises 6.
int16_t toInteger(long long v);
int32_t toLong(long long v);

// Int: the next whole number down (-2.5 -> -3); Fix: towards zero (-2.5 -> -2).
double Int(double x);
double Fix(double x);

}  // namespace vb
