#include "platform/vb/math.h"

#include <cmath>
#include <limits>

#include "platform/vb/error.h"

namespace vb {

double divide(double a, double b) {
    if (b == 0) throw Error(a == 0 ? err::Overflow : err::DivisionByZero);
    const double r = a / b;
    if (!std::isfinite(r)) throw Error(err::Overflow);
    return r;
}

double Log(double x) {
    if (!(x > 0)) throw Error(err::InvalidProcedureCall);
    return std::log(x);
}

int16_t toInteger(long long v) {
    if (v < std::numeric_limits<int16_t>::min() || v > std::numeric_limits<int16_t>::max()) throw Error(err::Overflow);
    return static_cast<int16_t>(v);
}

int32_t toLong(long long v) {
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()) throw Error(err::Overflow);
    return static_cast<int32_t>(v);
}

double Int(double x) { return std::floor(x); }
double Fix(double x) { return std::trunc(x); }

}  // namespace vb
