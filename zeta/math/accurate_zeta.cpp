#include "zeta/math/accurate_zeta.h"

#include <cmath>
#include <limits>

#include "zeta/math/chi.h"
#include "zeta/math/double_double.h"

namespace {

using Complex_Double = std::complex<double>;
using zeta_math::Double_Double;

constexpr double pi = 3.141592653589793;
constexpr double saddle_height = 30.0;  // |t| from which the saddle-point formula is used
constexpr double direct_sigma = -1.0;   // below it (and under saddle_height) the functional equation
constexpr double node_step = 1.0 / 16.0;
constexpr int node_reach = 51;  // nodes u = k·node_step, |k| ≤ node_reach
constexpr int node_count = 2 * node_reach + 1;
constexpr int32_t cancel_stride = 1024;  // table entries between tests of the cancel flag

// B_2k / (2k)!, k = 1 ... 30.
constexpr double euler_maclaurin_coefficients[] = {
    0.08333333333333333,    -0.001388888888888889,   3.306878306878307e-05,  -8.267195767195768e-07,
    2.08767569878681e-08,   -5.284190138687493e-10,  1.3382536530684679e-11, -3.3896802963225827e-13,
    8.586062056277845e-15,  -2.174868698558062e-16,  5.5090028283602295e-18, -1.3954464685812522e-19,
    3.534707039629467e-21,  -8.953517427037546e-23,  2.267952452337683e-24,  -5.744790668872202e-26,
    1.455172475614865e-27,  -3.6859949406653103e-29, 9.336734257095045e-31,  -2.36502241570063e-32,
    5.990671762482134e-34,  -1.5174548844682903e-35, 3.843758125454189e-37,  -9.736353072646691e-39,
    2.466247044200681e-40,  -6.247076741820743e-42,  1.5824030244644914e-43, -4.008273685948936e-45,
    1.0153075855569557e-46, -2.5718041582418717e-48,
};

bool cancelled(const std::atomic<bool>* cancel) {
    return cancel != nullptr && cancel->load(std::memory_order_relaxed);
}

int32_t euler_maclaurin_terms(double t) {
    return 50 + static_cast<int32_t>(std::ceil(t));
}

int32_t saddle_terms(double t) {
    return static_cast<int32_t>(std::floor(std::sqrt(t / (2.0 * pi))));
}

// ln(1 + v) − v without cancellation for small v.
Complex_Double log1p_minus_identity(Complex_Double v) {
    if (std::abs(v) >= 0.25) return std::log(1.0 + v) - v;
    Complex_Double power = v * v;
    Complex_Double sum = -0.5 * power;
    for (int k = 3; k < 64; ++k) {
        power *= v;
        const Complex_Double term = (k % 2 == 1 ? 1.0 : -1.0) * power / static_cast<double>(k);
        sum += term;
        if (std::abs(term) < 1e-18 * std::abs(sum)) break;
    }
    return sum;
}

Complex_Double exp_i(double phase) {
    return {std::cos(phase), std::sin(phase)};
}

}  // namespace

struct Accurate_Zeta_Rows::Tables {
    std::vector<double> sigmas;

    // ln n in double-double, n = 1 ... (index n).
    std::vector<Double_Double> logs{Double_Double{}};
    std::vector<Double_Double> log_halves{Double_Double{}};  // split(ln n) for two_product
    std::vector<int32_t> smallest_factors{1};                // the smallest prime factor of n

    // The row: cos and sin of t·ln n (n^-it = cos − i sin), index n = 1 ... terms.
    double t = std::numeric_limits<double>::quiet_NaN();
    bool saddle = false;
    int32_t terms = 0;
    std::vector<double> cosines;
    std::vector<double> sines;
    // Saddle rows only: N + 1/2, the nodes' v = w / c and ln(1 + v) − v, their factors in t, the factor
    // e^(i(πc² − t ln c)) and the parts of χ that depend on t.
    double centre = 0.0;
    std::vector<Complex_Double> node_v;
    std::vector<Complex_Double> node_excess;
    std::vector<Complex_Double> node_row;
    Complex_Double row_factor;
    zeta_math::Chi_Row chi_row;

    // The columns: n^-σ and n^(σ−1), index n = 1 ... column_terms; for the saddle formula the nodes'
    // x^-σ and x^(σ−1) for x = c(1 + v), built for column_centre.
    int32_t column_terms = 0;
    std::vector<std::vector<double>> powers_minus_sigma;
    std::vector<std::vector<double>> powers_sigma_minus_one;
    double column_centre = 0.0;
    std::vector<std::vector<Complex_Double>> node_columns_s;
    std::vector<std::vector<Complex_Double>> node_columns_reflected;

    explicit Tables(std::vector<double> list)
        : sigmas(std::move(list)),
          powers_minus_sigma(sigmas.size(), std::vector<double>(1, 1.0)),
          powers_sigma_minus_one(sigmas.size(), std::vector<double>(1, 1.0)),
          node_columns_s(sigmas.size()),
          node_columns_reflected(sigmas.size()) {}

    bool extend_logs(int32_t n_max, const std::atomic<bool>* cancel) {
        for (int32_t n = static_cast<int32_t>(logs.size()); n <= n_max; ++n) {
            if (n % cancel_stride == 0 && cancelled(cancel)) return false;
            logs.push_back(zeta_math::log_dd(Double_Double{static_cast<double>(n), 0.0}));
            log_halves.push_back(zeta_math::split(logs.back().hi));
            int32_t factor = 2;
            while (factor * factor <= n && n % factor != 0)
                ++factor;
            smallest_factors.push_back(factor * factor <= n ? factor : n);
        }
        return true;
    }

    bool build_row(double height, const std::atomic<bool>* cancel) {
        saddle = height >= saddle_height;
        terms = saddle ? saddle_terms(height) : euler_maclaurin_terms(height);
        if (!extend_logs(terms, cancel)) return false;
        t = std::numeric_limits<double>::quiet_NaN();  // incomplete until the end
        cosines.resize(static_cast<size_t>(terms) + 1);
        sines.resize(static_cast<size_t>(terms) + 1);
        const Double_Double height_halves = zeta_math::split(height);
        cosines[1] = 1.0;
        sines[1] = 0.0;
        for (int32_t n = 2; n <= terms; ++n) {
            if (n % cancel_stride == 0 && cancelled(cancel)) return false;
            const size_t index = static_cast<size_t>(n);
            const size_t factor = static_cast<size_t>(smallest_factors[index]);
            if (factor == index) {
                const double phase = zeta_math::reduce_modulo_two_pi(
                    zeta_math::multiply(logs[index], log_halves[index], height, height_halves));
                cosines[index] = std::cos(phase);
                sines[index] = std::sin(phase);
            } else {
                // n^-it = p^-it (n/p)^-it: a product of two earlier entries, each good to 10^-16, so that an
                // entry carries at most about 12 roundings.
                const size_t rest = index / factor;
                cosines[index] = cosines[factor] * cosines[rest] - sines[factor] * sines[rest];
                sines[index] = sines[factor] * cosines[rest] + cosines[factor] * sines[rest];
            }
        }
        if (saddle) build_saddle_row(height);
        t = height;
        return true;
    }

    // Along x = c + w, w = u·e^(iπ/4), with v = w / c and Δ = t − 2πc²:
    //   x^-it e^(πix²) = e^(i(πc² − t ln c)) · e^(i(−t(ln(1 + v) − v) − Δv + πw²))
    // where every term of the second exponent is small. 1 / (e^(πix) − e^(−πix)) = (−1)^N / (2i cos πw).
    void build_saddle_row(double height) {
        const double c = static_cast<double>(terms) + 0.5;
        if (c != centre) {
            centre = c;
            node_v.resize(node_count);
            node_excess.resize(node_count);
            const Complex_Double omega(std::sqrt(0.5), std::sqrt(0.5));
            for (int j = 0; j < node_count; ++j) {
                const Complex_Double w = static_cast<double>(j - node_reach) * node_step * omega;
                node_v[static_cast<size_t>(j)] = w / c;
                node_excess[static_cast<size_t>(j)] = log1p_minus_identity(w / c);
            }
        }
        const Double_Double c_squared{c * c, 0.0};  // exact: c is a half-integer below 2^26
        const double delta = (Double_Double{height, 0.0} - zeta_math::dd_two_pi * c_squared).hi;
        const Complex_Double omega(std::sqrt(0.5), std::sqrt(0.5));
        // The line runs from upper right to lower left: dx = −ω du.
        const Complex_Double weight = (terms % 2 == 0 ? -1.0 : 1.0) * omega * node_step;
        node_row.resize(node_count);
        for (int j = 0; j < node_count; ++j) {
            const Complex_Double v = node_v[static_cast<size_t>(j)];
            const Complex_Double w = v * c;
            const Complex_Double exponent =
                -height * node_excess[static_cast<size_t>(j)] - delta * v + pi * w * w;
            const Complex_Double kernel = weight / (Complex_Double(0.0, 2.0) * std::cos(pi * w));
            node_row[static_cast<size_t>(j)] = kernel * std::exp(Complex_Double(0.0, 1.0) * exponent);
        }
        const Double_Double log_c = zeta_math::log_dd(Double_Double{c, 0.0});
        row_factor = exp_i(zeta_math::reduce_modulo_two_pi(zeta_math::dd_pi * c_squared - log_c * height));
        chi_row = zeta_math::chi_row(height);
    }

    bool extend_columns(int32_t n_max, const std::atomic<bool>* cancel) {
        if (n_max <= column_terms) return true;
        for (size_t i = 0; i < sigmas.size(); ++i) {
            if (cancelled(cancel)) return false;
            const double sigma = sigmas[i];
            std::vector<double>& minus = powers_minus_sigma[i];
            std::vector<double>& reflected = powers_sigma_minus_one[i];
            minus.resize(static_cast<size_t>(n_max) + 1);
            reflected.resize(static_cast<size_t>(n_max) + 1);
            for (int32_t n = column_terms + 1; n <= n_max; ++n) {
                const double log_n = logs[static_cast<size_t>(n)].hi;
                minus[static_cast<size_t>(n)] = std::exp(-sigma * log_n);
                reflected[static_cast<size_t>(n)] = std::exp((sigma - 1.0) * log_n);
            }
        }
        column_terms = n_max;
        return true;
    }

    void build_node_columns() {
        if (column_centre == centre) return;
        const double log_c = std::log(centre);
        for (size_t i = 0; i < sigmas.size(); ++i) {
            const double sigma = sigmas[i];
            node_columns_s[i].resize(node_count);
            node_columns_reflected[i].resize(node_count);
            for (int j = 0; j < node_count; ++j) {
                const Complex_Double log_x =
                    log_c + node_v[static_cast<size_t>(j)] + node_excess[static_cast<size_t>(j)];
                node_columns_s[i][static_cast<size_t>(j)] = std::exp(-sigma * log_x);
                node_columns_reflected[i][static_cast<size_t>(j)] = std::exp((sigma - 1.0) * log_x);
            }
        }
        column_centre = centre;
    }

    // Σ_{n=1}^{count} p_n n^-it = Σ p_n (cos − i sin).
    Complex_Double power_sum(const std::vector<double>& powers, int32_t count) const {
        double real = 0.0;
        double imaginary = 0.0;
        const double* p = powers.data();
        const double* c = cosines.data();
        const double* s = sines.data();
        for (int32_t n = 1; n <= count; ++n) {
            real += p[n] * c[n];
            imaginary += p[n] * s[n];
        }
        return {real, -imaginary};
    }

    Complex_Double node_sum(const std::vector<Complex_Double>& column) const {
        double real = 0.0;
        double imaginary = 0.0;
        for (int j = 0; j < node_count; ++j) {
            const Complex_Double a = column[static_cast<size_t>(j)];
            const Complex_Double b = node_row[static_cast<size_t>(j)];
            real += a.real() * b.real() - a.imag() * b.imag();
            imaginary += a.real() * b.imag() + a.imag() * b.real();
        }
        return {real, imaginary};
    }

    // Σ p_n n^-it and Σ q_n n^-it, n = 1 ... count, in one pass with the odd and even n summed apart, so that
    // eight independent chains of additions keep the processor busy.
    void power_sums(const double* p, const double* q, int32_t count, Complex_Double& sum_p,
                    Complex_Double& sum_q) const {
        const double* c = cosines.data();
        const double* s = sines.data();
        double p_real[2] = {0.0, 0.0};
        double p_imaginary[2] = {0.0, 0.0};
        double q_real[2] = {0.0, 0.0};
        double q_imaginary[2] = {0.0, 0.0};
        int32_t n = 1;
        for (; n + 1 <= count; n += 2) {
            for (int k = 0; k < 2; ++k) {
                p_real[k] += p[n + k] * c[n + k];
                p_imaginary[k] += p[n + k] * s[n + k];
                q_real[k] += q[n + k] * c[n + k];
                q_imaginary[k] += q[n + k] * s[n + k];
            }
        }
        if (n <= count) {
            p_real[0] += p[n] * c[n];
            p_imaginary[0] += p[n] * s[n];
            q_real[0] += q[n] * c[n];
            q_imaginary[0] += q[n] * s[n];
        }
        sum_p = {p_real[0] + p_real[1], -(p_imaginary[0] + p_imaginary[1])};
        sum_q = {q_real[0] + q_real[1], -(q_imaginary[0] + q_imaginary[1])};
    }

    Complex_Double saddle_cell(size_t i) const {
        Complex_Double sum_s;
        Complex_Double sum_reflected;
        power_sums(powers_minus_sigma[i].data(), powers_sigma_minus_one[i].data(), terms, sum_s,
                   sum_reflected);
        const Complex_Double r_s = sum_s + row_factor * node_sum(node_columns_s[i]);
        const Complex_Double r_reflected = sum_reflected + row_factor * node_sum(node_columns_reflected[i]);
        return r_s + zeta_math::chi_high(sigmas[i], chi_row) * std::conj(r_reflected);
    }

    // Euler–Maclaurin at s' = σ' + iτ with τ = ±t, given n^-σ' (`powers`):
    //   ζ(s') = Σ_{n<N} n^-s' + N^(1−s')/(s' − 1) + N^-s'/2 + Σ_k B_2k/(2k)! s'(s'+1)…(s'+2k−2) N^(−s'−2k+1)
    Complex_Double euler_maclaurin(double sigma, bool conjugate, const std::vector<double>& powers) const {
        const int32_t n = terms;
        Complex_Double sum = power_sum(powers, n - 1);
        Complex_Double n_power =
            powers[static_cast<size_t>(n)] *
            Complex_Double(cosines[static_cast<size_t>(n)], -sines[static_cast<size_t>(n)]);
        if (conjugate) {
            sum = std::conj(sum);
            n_power = std::conj(n_power);
        }
        const Complex_Double s(sigma, conjugate ? -t : t);
        const double nd = static_cast<double>(n);
        Complex_Double bracket = nd / (s - 1.0) + 0.5;
        Complex_Double rising = s;
        double inverse_power = 1.0 / nd;
        const double inverse_square = inverse_power * inverse_power;
        for (int k = 1; k <= 30; ++k) {
            const Complex_Double term = euler_maclaurin_coefficients[k - 1] * rising * inverse_power;
            bracket += term;
            if (std::abs(term) < 1e-18 * std::abs(bracket)) break;
            rising *= (s + (2.0 * k - 1.0)) * (s + 2.0 * k);
            inverse_power *= inverse_square;
        }
        return sum + n_power * bracket;
    }

    Complex_Double low_cell(size_t i) const {
        const double sigma = sigmas[i];
        if (sigma == 1.0 && t == 0.0) {
            const double nan = std::numeric_limits<double>::quiet_NaN();
            return {nan, nan};
        }
        if (sigma >= direct_sigma) return euler_maclaurin(sigma, false, powers_minus_sigma[i]);
        const Complex_Double reflected = euler_maclaurin(1.0 - sigma, true, powers_sigma_minus_one[i]);
        return zeta_math::chi_low(Complex_Double(sigma, t)) * reflected;
    }
};

Accurate_Zeta_Rows::Accurate_Zeta_Rows(std::vector<double> sigmas) : tables_(new Tables(std::move(sigmas))) {}

Accurate_Zeta_Rows::~Accurate_Zeta_Rows() {
    delete tables_;
}

size_t Accurate_Zeta_Rows::columns() const {
    return tables_->sigmas.size();
}

int32_t Accurate_Zeta_Rows::terms_per_cell(double t) {
    const double height = std::fabs(t);
    if (!(height <= accurate_height_limit)) return 0;
    return height >= saddle_height ? 2 * saddle_terms(height) + 2 * node_count
                                   : euler_maclaurin_terms(height);
}

bool Accurate_Zeta_Rows::evaluate(double t, Complex* values, const std::atomic<bool>* cancel) {
    Tables& tables = *tables_;
    const size_t count = tables.sigmas.size();
    const double height = std::fabs(t);
    if (!(height <= accurate_height_limit)) {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        for (size_t i = 0; i < count; ++i)
            values[i] = Complex{nan, nan};
        return true;
    }
    if (height != tables.t && !tables.build_row(height, cancel)) return false;
    if (!tables.extend_columns(tables.terms, cancel)) return false;
    if (tables.saddle) tables.build_node_columns();
    for (size_t i = 0; i < count; ++i) {
        if (cancelled(cancel)) return false;
        const double sigma = tables.sigmas[i];
        Complex_Double zeta;
        if (!std::isfinite(sigma)) {
            zeta = sigma > 0.0 ? Complex_Double(1.0, 0.0)
                               : Complex_Double(std::numeric_limits<double>::quiet_NaN(),
                                                std::numeric_limits<double>::quiet_NaN());
        } else {
            zeta = tables.saddle ? tables.saddle_cell(i) : tables.low_cell(i);
        }
        if (std::signbit(t)) zeta = std::conj(zeta);
        values[i] = Complex{zeta.real(), zeta.imag()};
    }
    return true;
}

void evaluate_zeta_accurately(const Complex& s, Complex& result) {
    Accurate_Zeta_Rows rows({s.real});
    Complex value;
    rows.evaluate(s.imaginary, &value);
    result = value;
}
