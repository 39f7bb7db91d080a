#include "config/SoundSpeed.hpp"

#include <cmath>
#include <cstddef>

namespace sulvan {
namespace {

// Evaluates c[0] + c[1]·x + c[2]·x² + ...
template <std::size_t N>
double Polynomial(const double (&coefficients)[N], double x) {
    double dSum = 0.0;
    for (std::size_t i = N; i-- > 0;) {
        dSum = dSum * x + coefficients[i];
    }
    return dSum;
}

}  // namespace

double SoundSpeedUnesco(double dSalinity, double dTemperature, double dPressureBar) {
    const double S = dSalinity;
    const double T = dTemperature;
    const double P = dPressureBar;

    // Pure water.
    static const double c0[] = {1402.388, 5.03711, -5.80852e-2, 3.3420e-4, -1.47800e-6, 3.1464e-9};
    static const double c1[] = {0.153563, 6.8982e-4, -8.1788e-6, 1.3621e-7, -6.1185e-10};
    static const double c2[] = {3.1260e-5, -1.7107e-6, 2.5974e-8, -2.5335e-10, 1.0405e-12};
    static const double c3[] = {-9.7729e-9, 3.8504e-10, -2.3643e-12};
    const double dCw = Polynomial(c0, T) + Polynomial(c1, T) * P + Polynomial(c2, T) * P * P +
                       Polynomial(c3, T) * P * P * P;

    // Salinity terms.
    static const double a0[] = {1.389, -1.262e-2, 7.164e-5, 2.006e-6, -3.21e-8};
    static const double a1[] = {9.4742e-5, -1.2580e-5, -6.4885e-8, 1.0507e-8, -2.0122e-10};
    static const double a2[] = {-3.9064e-7, 9.1041e-9, -1.6002e-10, 7.988e-12};
    static const double a3[] = {1.100e-10, 6.649e-12, -3.389e-13};
    const double dA = Polynomial(a0, T) + Polynomial(a1, T) * P + Polynomial(a2, T) * P * P +
                      Polynomial(a3, T) * P * P * P;

    static const double b0[] = {-1.922e-2, -4.42e-5};
    static const double b1[] = {7.3637e-5, 1.7945e-7};
    const double dB = Polynomial(b0, T) + Polynomial(b1, T) * P;

    const double dD = 1.727e-3 - 7.9836e-6 * P;

    return dCw + dA * S + dB * S * std::sqrt(S) + dD * S * S;
}

}  // namespace sulvan
