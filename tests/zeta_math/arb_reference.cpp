#include "tests/zeta_math/arb_reference.h"

#include <acb.h>
#include <acb_dirichlet.h>
#include <arb.h>

#include <algorithm>
#include <cmath>

namespace {

double to_double(const arb_t x) {
    return arf_get_d(arb_midref(x), ARF_RND_NEAR);
}

}  // namespace

std::complex<double> reference_zeta(std::complex<double> s) {
    acb_t argument;
    acb_t value;
    acb_init(argument);
    acb_init(value);
    acb_set_d_d(argument, s.real(), s.imag());
    std::complex<double> result;
    for (slong precision = 128; precision <= 2048; precision *= 2) {
        acb_zeta(value, argument, precision);
        result = {to_double(acb_realref(value)), to_double(acb_imagref(value))};
        const double bound = 1e-14 * std::max(1.0, std::abs(result));
        const double radius =
            mag_get_d(arb_radref(acb_realref(value))) + mag_get_d(arb_radref(acb_imagref(value)));
        if (radius < bound) break;
    }
    acb_clear(argument);
    acb_clear(value);
    return result;
}

std::vector<double> first_zero_heights(int count) {
    std::vector<double> heights;
    arb_ptr zeros = _arb_vec_init(count);
    fmpz_t first;
    fmpz_init_set_ui(first, 1);
    acb_dirichlet_hardy_z_zeros(zeros, first, count, 128);
    for (int i = 0; i < count; ++i)
        heights.push_back(to_double(zeros + i));
    fmpz_clear(first);
    _arb_vec_clear(zeros, count);
    return heights;
}

double gram_point(long n) {
    arb_t point;
    fmpz_t index;
    arb_init(point);
    fmpz_init(index);
    fmpz_set_si(index, n);
    acb_dirichlet_gram_point(point, index, nullptr, nullptr, 128);
    const double result = to_double(point);
    fmpz_clear(index);
    arb_clear(point);
    return result;
}

double zeta_error(std::complex<double> accurate, std::complex<double> reference) {
    return std::abs(accurate - reference) / std::max(1.0, std::abs(reference));
}
