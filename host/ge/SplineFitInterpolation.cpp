#include "host/ge/SplineFitInterpolation.h"

#include <array>
#include <cmath>

namespace {

// The four cubic basis functions that are non-zero at u in knot span k
// (knots[k] <= u < knots[k + 1]): N[k-3..k] (Cox-de Boor, triangular scheme).
std::array<double, 4> basis(const std::vector<double>& U, size_t k, double u)
{
    std::array<double, 4> N{1.0, 0.0, 0.0, 0.0};
    double left[4] = {}, right[4] = {};
    for (size_t j = 1; j <= 3; ++j) {
        left[j] = u - U[k + 1 - j];
        right[j] = U[k + j] - u;
        double saved = 0.0;
        for (size_t r = 0; r < j; ++r) {
            const double denominator = right[r + 1] + left[j - r];
            const double t = denominator != 0.0 ? N[r] / denominator : 0.0;
            N[r] = saved + right[r + 1] * t;
            saved = left[j - r] * t;
        }
        N[j] = saved;
    }
    return N;
}

// The tangent at the first of three points, from the parabola through them
// with chord-length parameters (reversed points give the end's, reversed).
AcGeVector3d parabolaTangent(const AcGePoint3d& q0, const AcGePoint3d& q1, const AcGePoint3d& q2)
{
    const AcGeVector3d d1 = q1 - q0, d2 = q2 - q1;
    const double h1 = d1.length(), h2 = d2.length();
    if (h1 <= 0.0 || h2 <= 0.0)
        return d1.length() > 0.0 ? d1 : d2;
    const double a = h1 / (h1 + h2);
    return d1 * ((1.0 + a) / h1) - d2 * (a / h2);
}

}  // namespace

bool SplineFitInterpolation::interpolate(const std::vector<AcGePoint3d>& in, const AcGeVector3d& startTangent,
                                         const AcGeVector3d& endTangent, std::vector<double>& knots,
                                         std::vector<AcGePoint3d>& controls)
{
    knots.clear();
    controls.clear();
    // Repeated points carry no parameter span: they are taken once.
    std::vector<AcGePoint3d> q;
    for (const AcGePoint3d& p : in)
        if (q.empty() || (p - q.back()).length() > 1e-12)
            q.push_back(p);
    if (q.size() < 2)
        return false;
    const size_t n = q.size() - 1;
    std::vector<double> u(n + 1, 0.0);
    double total = 0.0;
    for (size_t k = 1; k <= n; ++k)
        u[k] = (total += (q[k] - q[k - 1]).length());
    for (double& v : u)
        v /= total;
    u[n] = 1.0;

    AcGeVector3d d0 = startTangent, dn = endTangent;
    if (d0.length() < 1e-12)
        d0 = n >= 2 ? parabolaTangent(q[0], q[1], q[2]) : q[1] - q[0];
    if (dn.length() < 1e-12)
        dn = n >= 2 ? parabolaTangent(q[n], q[n - 1], q[n - 2]) * -1.0 : q[n] - q[n - 1];
    d0 = d0.normal() * total;
    dn = dn.normal() * total;

    knots.assign(4, 0.0);
    for (size_t k = 1; k < n; ++k)
        knots.push_back(u[k]);
    knots.insert(knots.end(), 4, 1.0);
    controls.assign(n + 3, AcGePoint3d());
    controls[0] = q[0];
    controls[1] = q[0] + d0 * (knots[4] / 3.0);
    controls[n + 1] = q[n] - dn * ((1.0 - knots[n + 2]) / 3.0);
    controls[n + 2] = q[n];
    if (n < 2)
        return true;

    // Unknowns P2..Pn from C(u_k) = Q_k, k = 1..n-1: a banded system (at
    // most four basis functions per row), solved without pivoting (the
    // matrix is totally positive); the known P1 and P(n+1) move to the right.
    const size_t m = n - 1;
    constexpr int kBand = 3;
    std::vector<std::array<double, 2 * kBand + 1>> a(m);  // a[r][c - r + kBand]
    std::vector<AcGeVector3d> rhs(m);
    for (size_t r = 0; r < m; ++r) {
        a[r].fill(0.0);
        const size_t k = r + 1;
        size_t span = 3;
        while (span + 1 < knots.size() - 4 && knots[span + 1] <= u[k])
            ++span;
        const std::array<double, 4> N = basis(knots, span, u[k]);
        AcGeVector3d b = q[k].asVector();
        for (size_t j = 0; j < 4; ++j) {
            const size_t i = span - 3 + j;  // control point index
            if (i == 0 || i == 1 || i == n + 1 || i == n + 2)
                b = b - controls[i].asVector() * N[j];
            else
                a[r][static_cast<size_t>(static_cast<int>(i - 2) - static_cast<int>(r) + kBand)] = N[j];
        }
        rhs[r] = b;
    }
    for (size_t r = 0; r < m; ++r) {
        const double pivot = a[r][kBand];
        if (std::fabs(pivot) < 1e-300)
            return knots.clear(), controls.clear(), false;
        for (size_t s = r + 1; s < std::min(m, r + kBand + 1); ++s) {
            const double f = a[s][static_cast<size_t>(static_cast<int>(r) - static_cast<int>(s) + kBand)] / pivot;
            if (f == 0.0)
                continue;
            for (size_t c = r; c < std::min(m, r + kBand + 1); ++c)
                a[s][static_cast<size_t>(static_cast<int>(c) - static_cast<int>(s) + kBand)] -=
                    f * a[r][static_cast<size_t>(static_cast<int>(c) - static_cast<int>(r) + kBand)];
            rhs[s] = rhs[s] - rhs[r] * f;
        }
    }
    for (size_t r = m; r-- > 0;) {
        AcGeVector3d x = rhs[r];
        for (size_t c = r + 1; c < std::min(m, r + kBand + 1); ++c)
            x = x - controls[c + 2].asVector() * a[r][static_cast<size_t>(static_cast<int>(c) - static_cast<int>(r) + kBand)];
        controls[r + 2] = AcGePoint3d::kOrigin + x * (1.0 / a[r][kBand]);
    }
    return true;
}
