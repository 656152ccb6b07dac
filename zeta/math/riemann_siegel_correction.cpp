#include "zeta/math/riemann_siegel_correction.h"

#include <cmath>

#include "zeta/math/double_double.h"

namespace zeta_math {

namespace {

constexpr Double_Double dd_inverse_two_pi{0.15915494309189535, -9.8393383375912429e-18};

// Σ_j c_j w^j by Horner's rule.
double polynomial(const double* coefficients, double w) {
    double sum = coefficients[riemann_siegel_coefficient_count - 1];
    for (int j = riemann_siegel_coefficient_count - 2; j >= 0; --j)
        sum = sum * w + coefficients[j];
    return sum;
}

}  // namespace

const double riemann_siegel_coefficients[5][riemann_siegel_coefficient_count] = {
    // C0
    {
        0.38268343236508978,     1.7489618723100817,     2.1180252076854962,      -0.87072166705114806,
        -3.4733112243465167,     -1.6626947308999325,    1.2167312889192321,      1.3014304161007977,
        0.030511021827361672,    -0.37558030515450952,   -0.10857844165640659,    0.051832902999549624,
        0.029999480619902277,    -0.0022759396706125644, -0.0043826474165803387,  -0.00040642301837298471,
        0.0004006097785422114,   8.9710579913888415e-05, -2.3025650027239108e-05, -9.3800066019067925e-06,
        6.3235149476091075e-07,  6.5510228192315019e-07, 2.2105237455526972e-08,  -3.3223161764456288e-08,
        -3.7349109899336559e-09, 1.2445067060797738e-09,
    },
    // C1
    {
        -0.053650205256750697,   0.11027818741081483,    1.2317200154315227,      1.2634964862799458,
        -1.6951089975595031,     -2.9998711967650102,    -0.10819944959899208,    1.9407662946212714,
        0.7838423561500687,      -0.50548296679003657,   -0.38450723496057976,    0.037472646465315319,
        0.090920266109731765,    0.01044923755006451,    -0.012582979651583417,   -0.003399503721151274,
        0.0010410950537714891,   0.00050109490511184864, -3.9563596690031817e-05, -4.7624592453571896e-05,
        -1.8539355338085133e-06, 3.1936918080068973e-06, 4.0907807608506065e-07,  -1.5446624332576631e-07,
        -3.4663074917691332e-08, 5.1587112588061547e-09,
    },
    // C2
    {
        0.0051885428302931684,   0.0012378633552253898,   -0.18137505725166997,  0.14291492748532125,
        1.3303391766687565,      0.35224723534037339,     -2.4210015958919509,   -1.6760787022538108,
        1.3689416723328371,      1.5539019430222982,      -0.17221642734729981,  -0.63590680550454315,
        -0.099116498730412075,   0.14033480067387008,     0.04782352019827292,   -0.017356040641479782,
        -0.010225012534028593,   0.00092741491597948876,  0.0013572194372373386, 6.4136901202938796e-05,
        -0.00012300805698196629, -1.8313507404789201e-05, 7.821628604322627e-06, 2.0087542484759946e-06,
        -3.3532765393185714e-07, -1.4616020917418232e-07,
    },
    // C3
    {
        -0.0026794321814389136,  0.029953721091035151,    -0.042570172541828696, -0.28997965779803886,
        0.48888319992354462,     1.230855876395746,       -0.82975607085274083,  -2.2497635366665669,
        0.07845139961005472,     1.7467492800868893,      0.45968080979749937,   -0.6619353471039775,
        -0.31590441036173633,    0.12844792545207495,     0.10073382716626152,   -0.0095301838488252681,
        -0.019264421687514088,   -0.0012464637158769291,  0.0024243969641103086, 0.00043764769774185701,
        -0.00020714032687001792, -6.2743445041865155e-05, 1.157534381459567e-05, 5.88385492454038e-06,
        -3.1246774006963362e-07, -4.0240657754989595e-07,
    },
    // C4
    {
        0.00046483389361763383, -0.0040226429461361884,  0.0038471770517961271,   0.065811751358094861,
        -0.19604124343694448,   -0.20854053686358853,    0.95077541851417513,     0.53415353129148735,
        -1.67634944117634,      -1.0767471578751291,     1.235339301656597,       1.0257825340057276,
        -0.40124095793988546,   -0.50366639951083036,    0.035734877955027451,    0.14431763086785418,
        0.015091527417903469,   -0.026098874779194363,   -0.0061266283795192618,  0.0030775031298708412,
        0.0011562478934088753,  -0.00022775966758472127, -0.00014189637118181445, 7.4648603079559195e-06,
        1.2479701645409117e-05, 4.8639451840020944e-07,
    },
};

Riemann_Siegel_Split riemann_siegel_split(double t) {
    // a = √q, q = t/2π, with one Newton correction in double-double: q − x² is exact from two_product.
    const Double_Double q = dd_inverse_two_pi * t;
    const double x = std::sqrt(q.hi);
    const Double_Double square = two_product(x, x);
    const double correction = ((q - square).hi) / (2.0 * x);
    Riemann_Siegel_Split split;
    split.a = x + correction;
    double whole = std::floor(x);
    double fraction = (x - whole) + correction;  // x − whole is exact
    if (fraction < 0.0) {
        whole -= 1.0;
        fraction += 1.0;
    } else if (fraction >= 1.0) {
        whole += 1.0;
        fraction -= 1.0;
    }
    split.terms = static_cast<int64_t>(whole);
    split.fraction = fraction;
    return split;
}

Riemann_Siegel_Correction riemann_siegel_correction(const Riemann_Siegel_Split& split) {
    const double z = split.fraction - 0.5;
    const double w = z * z;
    const double inverse = 1.0 / split.a;
    // C4, C3, ..., C0 with the odd ones carrying the factor z.
    double sum = 0.0;
    for (int k = 4; k >= 0; --k) {
        double c = polynomial(riemann_siegel_coefficients[k], w);
        if (k % 2 == 1) c *= z;
        sum = sum * inverse + c;
    }
    const double scale = 1.0 / std::sqrt(split.a);
    Riemann_Siegel_Correction result;
    result.value = (split.terms % 2 == 1 ? 1.0 : -1.0) * scale * sum;
    // Horner's rounding over 26 coefficients in w (at most 52·2^-53 of Σ|c_j||z|^j, which is below 1.12 for
    // the five polynomials together at |z| ≤ 1/2), the 2·2^-53 error of p times Σ|C_k'| ≤ 4.4, and the
    // rounding of the coefficients and of the final products: below 128·2^-53 of a^(−1/2).
    result.error = 128.0 * 1.1102230246251565e-16 * scale;
    return result;
}

double riemann_siegel_truncation_bound(double t) {
    return 0.017 * std::pow(t, -2.75);
}

}  // namespace zeta_math
