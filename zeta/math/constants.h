// Constants in double precision that several evaluations of ζ share.
#pragma once

namespace zeta_math {

constexpr double pi = 3.141592653589793;
constexpr double log_pi = 1.1447298858494002;      // ln π
constexpr double log_two_pi = 1.8378770664093456;  // ln 2π

}  // namespace zeta_math
