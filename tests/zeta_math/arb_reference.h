// ζ(s) from Arb at high precision: the reference that the accurate method is measured against.
#pragma once

#include <complex>
#include <vector>

// ζ(s) for s given exactly by its two doubles, rounded to double; the ball is refined until its radius is
// below 10^-14 of max(1, |ζ|). acb_zeta in the critical strip and near it; for σ ≥ 9 the Dirichlet series
// summed in Arb, for σ ≤ −8 that sum at 1 − s times χ(s) from Arb's Γ, power and sine.
std::complex<double> reference_zeta(std::complex<double> s);

// Imaginary parts of the first `count` zeros on the critical line.
std::vector<double> first_zero_heights(int count);

// Imaginary parts of the zeros number first ... first + count − 1 (acb_dirichlet_hardy_z_zeros).
std::vector<double> zero_heights(long first, int count);

// N(t): zeros in the critical strip with 0 < Im ρ ≤ t (acb_dirichlet_zeta_nzeros).
long zero_count(double t);

// Hardy's Z(t) and θ(t), rounded to double.
double hardy_z(double t);
double hardy_theta(double t);

// Gram point g_n (θ(g_n) = nπ).
double gram_point(long n);

// |accurate − reference| / max(1, |reference|).
double zeta_error(std::complex<double> accurate, std::complex<double> reference);
