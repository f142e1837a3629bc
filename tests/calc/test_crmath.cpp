// The expected values are not computed by the code under test: each was computed with MPFR 4.2.0
// at 320 bits, checked to decide the rounding to 53 bits, and rounded once to a double
// (subnormals included). The rows marked "glibc" are arguments where glibc 2.36's own atan or cos
// is one ulp off; they came from the ratio riser / tread of entries typed with one decimal.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

#include "calc/crmath.h"

namespace loadcalc {
namespace {

struct Row {
  const char* what;
  double x;
  double expected;
};

// Bits, not values: -0 must stay -0, and one ulp is a failure.
void expect_bits(double got, const Row& r, const char* fn) {
  EXPECT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(r.expected))
      << fn << "(" << r.what << " " << std::hexfloat << r.x << ") gave " << got << ", expected "
      << r.expected;
}

TEST(CorrectlyRounded, ArcTangent) {
  const Row rows[] = {
      {"+0", 0x0p+0, 0x0p+0},
      {"-0", -0x0p+0, -0x0p+0},
      // Tiny arguments: the cubic term is far below half an ulp, also on the subnormal grid.
      {"least subnormal", 0x1p-1074, 0x1p-1074},                        // 4.94e-324
      {"negative subnormal", -0x1.8p-1060, -0x1.8p-1060},               // -1.21e-319
      {"least normal", 0x1p-1022, 0x1p-1022},                           // 2.23e-308
      {"tiny", 0x1.56e1fc2f8f359p-997, 0x1.56e1fc2f8f359p-997},         // 1e-300
      {"below the cubic term", 0x1.8p-27, 0x1.8p-27},                   // 1.1175870895385742e-08
      {"one", 0x1p+0, 0x1.921fb54442d18p-1},                            // 1 -> 0.78539816339744828
      {"default 160/280", 0x1.2492492492492p-1, 0x1.09cd84fd118f3p-1},  // -> 0.51914611424652291
      {"negative", -0x1.8p-1, -0x1.4978fa3269ee1p-1},  // -0.75 -> -0.64350110879328437
      // A near-vertical flight: the angle is pi/2 rounded.
      {"huge", 0x1.7e43c8800759cp+996, 0x1.921fb54442d18p+0},  // 1e300 -> 1.5707963267948966
      {"largest", 0x1.fffffffffffffp+1023, 0x1.921fb54442d18p+0},
      {"+inf", INFINITY, 0x1.921fb54442d18p+0},
      {"-inf", -INFINITY, -0x1.921fb54442d18p+0},
      {"glibc 54.5/340.1", 0x1.482f92676c778p-3, 0x1.456b4e0c773cep-3},   // -> 0.15889607406179923
      {"glibc 82.4/348.7", 0x1.e3f48c13ace4cp-3, 0x1.db3cc6dbe5c4cp-3},   // -> 0.23204951628278747
      {"glibc 139.6/156.3", 0x1.c94b818e54d78p-1, 0x1.75421b8e7ee27p-1},  // -> 0.72901998629044307
      {"glibc 103.3/347.6", 0x1.305020fe86ec4p-2, 0x1.27cd13f80c15dp-2},  // -> 0.28886824799976357
      {"glibc 225.5/205.6", 0x1.18c738c738c74p+0, 0x1.a9bdd419643aap-1},  // -> 0.83152640161471436
      {"glibc 234.4/273.6", 0x1.b6a4ada92b6a4p-1, 0x1.6ab17e8d139a6p-1},  // -> 0.7083854243481269
      {"glibc 67.6/227.8", 0x1.2fdfa2801cc4ep-2, 0x1.2765b35bfb788p-2},   // -> 0.28847389458575678
      {"glibc 236.3/340.6", 0x1.63369136443f2p-1, 0x1.368beea844feap-1},  // -> 0.60653634838172121
  };
  for (const Row& r : rows) expect_bits(cr_atan(r.x), r, "cr_atan");
  EXPECT_TRUE(std::isnan(cr_atan(NAN)));
}

TEST(CorrectlyRounded, Cosine) {
  const Row rows[] = {
      {"+0", 0x0p+0, 0x1p+0},
      {"-0", -0x0p+0, 0x1p+0},
      {"least subnormal", 0x1p-1074, 0x1p+0},
      {"rounds up to 1", 0x1.5798ee2308c3ap-27, 0x1p+0},              // 1e-08
      {"just below 1", 0x1.01b2b29a4692bp-26, 0x1.fffffffffffffp-1},  // 1.5e-08
      {"pi/2 rounded", 0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54},  // 6.123233995736766e-17
      {"negative", -0x1.921fb54442d18p-1, 0x1.6a09e667f3bcdp-1},      // 0.70710678118654757
      {"default angle", 0x1.09cd84fd118f3p-1, 0x1.bc8a5d78cd39ep-1},  // 0.86824314212445919
      {"large argument", 0x1.0f0cf064dd592p+73,
       0x1.0be2cef01c8f4p-1},                                       // 1e22 -> 0.52321478539513899
      {"largest", 0x1.fffffffffffffp+1023, -0x1.fffe62ecfab75p-1},  // -0.99998768942655991
      {"glibc 181.8/176.4", 0x1.99d784a8e463ep-1, 0x1.648a5070c0363p-1},  // 0.69636775375702731
      {"glibc 110.5/259.6", 0x1.9c1558ea199b9p-2, 0x1.d7192a766b78dp-1},  // 0.92011387534670208
      {"glibc 204.8/122.9", 0x1.07c211ed0f38cp+0, 0x1.07740ec282c09p-1},  // 0.51455732464217008
      {"glibc 121.1/196.8", 0x1.1a6ece4b2d274p-1, 0x1.b40e81a3e077fp-1},  // 0.85167317510079943
      {"glibc 229.8/236.7", 0x1.8a8d29f57226cp-1, 0x1.6f5a78a4f6e95p-1},  // 0.7174871159908941
      {"glibc 125.8/235.3", 0x1.f6c138c6d54adp-2, 0x1.c385271544a49p-1},  // 0.88187524923916627
      {"glibc 156.4/320.8", 0x1.d082844e8bd41p-2, 0x1.cc3814dadf5b8p-1},  // 0.89886536762030911
      {"glibc 248.5/286.3", 0x1.6dfed6861e25p-1, 0x1.82a9c4d30f52dp-1},   // 0.75520148350157046
  };
  for (const Row& r : rows) expect_bits(cr_cos(r.x), r, "cr_cos");
  for (double x : {double(INFINITY), -double(INFINITY), double(NAN)})
    EXPECT_TRUE(std::isnan(cr_cos(x))) << x;
}

}  // namespace
}  // namespace loadcalc
