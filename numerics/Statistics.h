// Distribution functions for the uncertainty of fitted parameters.
#pragma once

namespace zemra {

// Regularized incomplete beta function I_x(a, b), 0 <= x <= 1, a, b > 0, by Lentz's continued
// fraction (Numerical Recipes, section 6.4); about 1e-14 relative.
double RegularizedBeta(double x, double a, double b);

// Student's t distribution with nu > 0 degrees of freedom: P(T <= t), from
// P(|T| > t) = I_{nu / (nu + t^2)}(nu / 2, 1 / 2).
double StudentTCdf(double t, double nu);

// The quantile t_p of Student's t distribution (P(T <= t_p) = p, 0 < p < 1) with nu > 0 degrees
// of freedom, by bisection on StudentTCdf to the last bits of a double. t_0.975 gives the
// half-width factor of a 95 % confidence interval.
double StudentTQuantile(double p, double nu);

}  // namespace zemra
