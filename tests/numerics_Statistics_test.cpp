#include <cmath>

#include "numerics/Statistics.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

TEST(StudentT, QuantilesMatchTheClosedFormsForOneAndTwoDegreesOfFreedom) {
    // nu = 1 is the Cauchy distribution, t_p = tan(pi (p - 1/2)); for nu = 2,
    // t_p = (2p - 1) / sqrt(2 p (1 - p)).
    for (double p : {0.6, 0.9, 0.975, 0.995, 0.025}) {
        EXPECT_REL_NEAR(StudentTQuantile(p, 1), std::tan(M_PI * (p - 0.5)), 1e-12) << p;
        EXPECT_REL_NEAR(StudentTQuantile(p, 2), (2 * p - 1) / std::sqrt(2 * p * (1 - p)), 1e-12);
    }
}

TEST(StudentT, QuantilesMatchTheTableOfTwoSidedFivePercentPoints) {
    // t_0.975 as printed in the statistical tables, to four decimals; the normal 1.95996 for a
    // very large number of degrees of freedom.
    const struct {
        double nu, t;
    } table[] = {{3, 3.1824},  {5, 2.5706},   {10, 2.2281},
                 {30, 2.0423}, {120, 1.9799}, {1e7, 1.95996}};
    for (const auto& row : table) {
        EXPECT_NEAR(StudentTQuantile(0.975, row.nu), row.t, 5e-5) << row.nu;
        EXPECT_NEAR(StudentTCdf(row.t, row.nu), 0.975, 1e-4) << row.nu;
    }
    EXPECT_NEAR(StudentTQuantile(0.95, 10), 1.8125, 5e-5);
    EXPECT_TRUE(std::isnan(StudentTQuantile(1.0, 5)));
    EXPECT_TRUE(std::isnan(StudentTQuantile(0.975, 0)));
}

}  // namespace
}  // namespace zemra
