#pragma once
// Correctly rounded arc tangent and cosine: the double nearest to the exact value (ties to even),
// on every platform. The platform's std::atan and std::cos are only as good as its maths library
// (the mingw-w64 runtime's cosine loses digits near a right angle, glibc's is one ulp off now
// and then), and the stair load must not depend on which one the program was built with.
// Everything else in the formulas is an IEEE 754 operation and needs no such help.
//
// Plain doubles in and out; whatever does the work stays behind this interface.

namespace loadcalc {

// atan(±0) is ±0, atan(±inf) is ±pi/2 rounded, NaN gives NaN.
double cr_atan(double x) noexcept;
// cos(±0) is 1, cos(±inf) and cos(NaN) are NaN.
double cr_cos(double x) noexcept;

}  // namespace loadcalc
