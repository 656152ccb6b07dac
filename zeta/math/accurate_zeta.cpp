#include "zeta/math/accurate_zeta.h"

#include <cmath>
#include <limits>

#include "zeta/math/chi.h"
#include "zeta/math/constants.h"
#include "zeta/math/phase_table.h"
#include "zeta/math/saddle_point.h"

namespace {

using Complex_Double = std::complex<double>;
using zeta_math::euler_maclaurin_coefficients;
using zeta_math::saddle_height;
using zeta_math::saddle_node_count;
using zeta_math::Unit_Complex;

constexpr double direct_sigma = -1.0;  // below it (and under saddle_height) the functional equation

bool cancelled(const std::atomic<bool>* cancel) {
    return cancel != nullptr && cancel->load(std::memory_order_relaxed);
}

int32_t euler_maclaurin_terms(double t) {
    return 50 + static_cast<int32_t>(std::ceil(t));
}

Complex_Double not_a_number() {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    return {nan, nan};
}

}  // namespace

struct Accurate_Zeta_Rows::Tables {
    std::vector<double> sigmas;
    std::shared_ptr<const zeta_math::Prime_Table> primes;

    // The row: n^-it, index n = 1 ... terms.
    double t = std::numeric_limits<double>::quiet_NaN();
    bool saddle = false;
    int32_t terms = 0;
    zeta_math::Phase_Storage phases;
    // Saddle rows only: the nodes of the centre N + 1/2 and the parts that depend on t.
    zeta_math::Saddle_Nodes nodes;
    zeta_math::Saddle_Row row;

    // The columns: n^-σ and n^(σ−1), index n = 1 ... column_terms, as products over the prime factors like
    // the row; for the saddle formula the nodes' x^-σ and x^(σ−1), for column_centre.
    int32_t column_terms = 0;
    size_t column_primes = 0;  // primes up to column_terms
    std::vector<std::vector<double>> powers_minus_sigma;
    std::vector<std::vector<double>> powers_sigma_minus_one;
    double column_centre = 0.0;
    std::vector<std::array<Complex_Double, saddle_node_count>> node_powers_s;
    std::vector<std::array<Complex_Double, saddle_node_count>> node_powers_reflected;

    explicit Tables(std::vector<double> list)
        : sigmas(std::move(list)),
          powers_minus_sigma(sigmas.size()),
          powers_sigma_minus_one(sigmas.size()),
          node_powers_s(sigmas.size()),
          node_powers_reflected(sigmas.size()) {}

    void forget_columns() {
        column_terms = 0;
        column_primes = 0;
        column_centre = 0.0;
    }

    void forget_row() {
        t = std::numeric_limits<double>::quiet_NaN();
        nodes.centre = 0.0;
    }

    bool build_row(double height, const std::atomic<bool>* cancel) {
        saddle = height >= saddle_height;
        terms = saddle ? zeta_math::saddle_terms(height) : euler_maclaurin_terms(height);
        if (!primes || primes->limit < terms) primes = zeta_math::prime_table(terms);
        t = std::numeric_limits<double>::quiet_NaN();  // incomplete until the end
        Unit_Complex* table = phases.reserve(static_cast<size_t>(terms) + 1);
        if (!zeta_math::build_phase_table(*primes, height, terms, table, cancel)) return false;
        if (saddle) {
            const double centre = static_cast<double>(terms) + 0.5;
            if (nodes.centre != centre) zeta_math::make_saddle_nodes(centre, nodes);
            zeta_math::make_saddle_row(height, nodes, row);
        }
        t = height;
        return true;
    }

    bool extend_columns(int32_t n_max, const std::atomic<bool>* cancel) {
        if (n_max <= column_terms) return true;
        const int32_t* factor = primes->smallest_factor.data();
        size_t prime = column_primes;
        for (size_t i = 0; i < sigmas.size(); ++i) {
            if (cancelled(cancel)) return false;
            const double sigma = sigmas[i];
            std::vector<double>& minus = powers_minus_sigma[i];
            std::vector<double>& reflected = powers_sigma_minus_one[i];
            minus.resize(static_cast<size_t>(n_max) + 1);
            reflected.resize(static_cast<size_t>(n_max) + 1);
            minus[1] = 1.0;
            reflected[1] = 1.0;
            prime = column_primes;
            for (int32_t n = std::max(column_terms + 1, 2); n <= n_max; ++n) {
                const int32_t p = factor[n];
                if (p == n) {
                    const double log_p = primes->logs[prime++].hi;
                    minus[static_cast<size_t>(n)] = std::exp(-sigma * log_p);
                    reflected[static_cast<size_t>(n)] = std::exp((sigma - 1.0) * log_p);
                } else {
                    minus[static_cast<size_t>(n)] =
                        minus[static_cast<size_t>(p)] * minus[static_cast<size_t>(n / p)];
                    reflected[static_cast<size_t>(n)] =
                        reflected[static_cast<size_t>(p)] * reflected[static_cast<size_t>(n / p)];
                }
            }
        }
        column_terms = n_max;
        column_primes = prime;
        return true;
    }

    void build_node_columns() {
        if (column_centre == nodes.centre) return;
        for (size_t i = 0; i < sigmas.size(); ++i)
            zeta_math::node_powers(sigmas[i], nodes, node_powers_s[i].data(),
                                   node_powers_reflected[i].data());
        column_centre = nodes.centre;
    }

    // R(s) and R(1 − conj s) of the saddle formula: Σ p_n n^-it and Σ q_n n^-it in increasing n, then the
    // nodes in increasing j, each node as its real part times F_j and its imaginary part times iF_j.
    Complex_Double saddle_cell(size_t i) const {
        const double* p = powers_minus_sigma[i].data();
        const double* q = powers_sigma_minus_one[i].data();
        const Unit_Complex* w = phases.data();
        double s_re = 0.0;
        double s_im = 0.0;
        double r_re = 0.0;
        double r_im = 0.0;
        for (int32_t n = 1; n <= terms; ++n) {
            s_re += p[n] * w[n].re;
            s_im += p[n] * w[n].im;
            r_re += q[n] * w[n].re;
            r_im += q[n] * w[n].im;
        }
        const Complex_Double* a = node_powers_s[i].data();
        const Complex_Double* b = node_powers_reflected[i].data();
        for (size_t j = 0; j < saddle_node_count; ++j) {
            const double f_re = row.factor_re[j];
            const double f_im = row.factor_im[j];
            s_re += a[j].real() * f_re;
            s_im += a[j].real() * f_im;
            r_re += b[j].real() * f_re;
            r_im += b[j].real() * f_im;
            s_re += a[j].imag() * -f_im;
            s_im += a[j].imag() * f_re;
            r_re += b[j].imag() * -f_im;
            r_im += b[j].imag() * f_re;
        }
        return Complex_Double(s_re, s_im) +
               zeta_math::chi_high(sigmas[i], row.chi) * Complex_Double(r_re, -r_im);
    }

    // Euler–Maclaurin at s' = σ' + iτ with τ = ±t, given n^-σ' (`powers`):
    //   ζ(s') = Σ_{n<N} n^-s' + N^(1−s')/(s' − 1) + N^-s'/2 + Σ_k B_2k/(2k)! s'(s'+1)…(s'+2k−2) N^(−s'−2k+1)
    Complex_Double euler_maclaurin(double sigma, bool conjugate, const std::vector<double>& powers) const {
        const int32_t n = terms;
        double sum_re = 0.0;
        double sum_im = 0.0;
        for (int32_t k = 1; k < n; ++k) {
            sum_re += powers[static_cast<size_t>(k)] * phases.data()[k].re;
            sum_im += powers[static_cast<size_t>(k)] * phases.data()[k].im;
        }
        Complex_Double sum(sum_re, sum_im);
        const Unit_Complex last = phases.data()[n];
        Complex_Double n_power = powers[static_cast<size_t>(n)] * Complex_Double(last.re, last.im);
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
        if (sigma == 1.0 && t == 0.0) return not_a_number();
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
    return height >= saddle_height ? 2 * zeta_math::saddle_terms(height) + 2 * saddle_node_count
                                   : euler_maclaurin_terms(height);
}

bool Accurate_Zeta_Rows::evaluate(double t, Complex* values, const std::atomic<bool>* cancel) {
    Tables& tables = *tables_;
    const size_t count = tables.sigmas.size();
    const double height = std::fabs(t);
    if (!(height <= accurate_height_limit)) {
        for (size_t i = 0; i < count; ++i)
            values[i] = Complex{not_a_number().real(), not_a_number().imag()};
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
            zeta = sigma > 0.0 ? Complex_Double(1.0, 0.0) : not_a_number();
        } else {
            zeta = tables.saddle ? tables.saddle_cell(i) : tables.low_cell(i);
        }
        if (std::signbit(t)) zeta = std::conj(zeta);
        values[i] = Complex{zeta.real(), zeta.imag()};
    }
    return true;
}

bool evaluate_zeta_accurately(const Complex& s, Complex& result, const std::atomic<bool>* cancel) {
    // The storage stays with the thread from one value to the next; every table is computed again.
    thread_local Accurate_Zeta_Rows rows(std::vector<double>{0.0});
    rows.tables_->forget_row();
    rows.tables_->sigmas[0] = s.real;
    rows.tables_->forget_columns();
    Complex value;
    if (!rows.evaluate(s.imaginary, &value, cancel)) return false;
    result = value;
    return true;
}

void evaluate_zeta_accurately(const Complex& s, Complex& result) {
    evaluate_zeta_accurately(s, result, nullptr);
}
