#include "calc/crmath.h"

#include <mpfr.h>

namespace loadcalc {
namespace {

// MPFR works with an exponent range far wider than a double's and without subnormals, so a
// result that lands in the double's subnormal range would be rounded twice: to 53 bits first and
// to the coarser subnormal grid on conversion. Narrowing the range to exactly a double's and
// subnormalizing makes MPFR round once, as IEEE 754 does; the conversion to double is then exact.
// The caller's range is put back, so nothing else that uses MPFR in the process notices.
class DoubleExponentRange {
 public:
  DoubleExponentRange() noexcept : emin_(mpfr_get_emin()), emax_(mpfr_get_emax()) {
    // MPFR's significands lie in [1/2, 1): DBL_MAX < 2^1024, the least subnormal is 2^-1074.
    mpfr_set_emin(-1073);
    mpfr_set_emax(1024);
  }
  ~DoubleExponentRange() {
    mpfr_set_emin(emin_);
    mpfr_set_emax(emax_);
  }
  DoubleExponentRange(const DoubleExponentRange&) = delete;
  DoubleExponentRange& operator=(const DoubleExponentRange&) = delete;

 private:
  mpfr_exp_t emin_;
  mpfr_exp_t emax_;
};

using Function = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);

double rounded(Function f, double x) noexcept {
  const DoubleExponentRange range;
  // 53 bits on the stack: no heap allocation per call.
  MPFR_DECL_INIT(in, 53);
  MPFR_DECL_INIT(out, 53);
  mpfr_set_d(in, x, MPFR_RNDN);  // exact: every double fits in 53 bits and this range
  const int inexact = f(out, in, MPFR_RNDN);
  mpfr_subnormalize(out, inexact, MPFR_RNDN);
  return mpfr_get_d(out, MPFR_RNDN);
}

}  // namespace

double cr_atan(double x) noexcept {
  return rounded(mpfr_atan, x);
}

double cr_cos(double x) noexcept {
  return rounded(mpfr_cos, x);
}

}  // namespace loadcalc
