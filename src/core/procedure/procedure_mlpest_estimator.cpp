#include <cmath>

#include "core/procedure/mlpest_model.h"
#include "core/procedure/procedure.h"

namespace limenta {

namespace {

// The minimiser stops here even when it has not met its tolerance.
constexpr int kBrentIterations = 100;

}  // namespace

void Procedure::startBestPest(std::int32_t lower, std::int32_t upper) {
    insertstimulus(lower, 0);
    insertstimulus(upper, 1);
}

double Procedure::finalThreshold(double spread) {
    relsigmafinal = spread;
    const GridValues& grid = grid_.values(*this, spread);  // funcfinal(1..kGridLast)
    double best = 1e38;
    int first = 0;
    int last = 0;
    for (int i = 1; i <= kGridLast; ++i) {
        const double v = grid[i];
        if (std::fabs(v - best) < 1e-7) {
            last = i;  // a tie extends the run of equal values; best stays as it was
        } else if (v < best) {
            best = v;
            first = i;
            last = i;
        }
    }
    if (first != last) {
        return (first + last) * 0.5;
    }
    double position = 0.0;
    brent(first - 1, first, first + 1, 1e-7, position);
    return position;
}

double Procedure::brent(double left, double inner, double right, double tol,
                        double& position) const {
    double a = left < right ? left : right;
    double b = right < left ? left : right;
    double x = inner;
    double w = inner;
    double v = inner;
    double fx = funcfinal(x);
    double fw = fx;
    double fv = fx;
    double e = 0.0;
    double d = 0.0;

    for (int iteration = 1; iteration <= kBrentIterations; ++iteration) {
        const double xm = 0.5 * (a + b);
        const double tol1 = tol * std::fabs(x) + 1e-10;
        const double tol2 = 2 * tol1;
        if (std::fabs(x - xm) <= tol2 - 0.5 * (b - a)) {
            position = x;
            return fx;
        }

        bool goldenSection = true;
        if (std::fabs(e) > tol1) {
            // A parabola through x, w and v.
            const double r = (x - w) * (fx - fv);
            double q = (x - v) * (fx - fw);
            double p = (x - v) * q - (x - w) * r;
            q = 2 * (q - r);
            if (q > 0) {
                p = -p;
            }
            q = std::fabs(q);
            const double etemp = e;
            e = d;
            const bool rejected =
                std::fabs(p) >= std::fabs(0.5 * q * etemp) || p <= q * (a - x) || p >= q * (b - x);
            if (!rejected) {
                d = p / q;
                const double u = x + d;
                if (u - a < tol2 || b - u < tol2) {
                    d = sign(tol1, xm - x);
                }
                goldenSection = false;
            }
        }
        if (goldenSection) {
            e = x >= xm ? a - x : b - x;
            d = 0.381966 * e;
        }

        // Never evaluate closer than tol1 to x.
        const double u = std::fabs(d) >= tol1 ? x + d : x + sign(tol1, d);
        const double fu = funcfinal(u);
        if (fu <= fx) {
            if (u >= x) {
                a = x;
            } else {
                b = x;
            }
            v = w;
            fv = fw;
            w = x;
            fw = fx;
            x = u;
            fx = fu;
        } else {
            if (u < x) {
                a = u;
            } else {
                b = u;
            }
            if (fu <= fw || w == x) {
                v = w;
                fv = fw;
                w = u;
                fw = fu;
            } else if (fu <= fv || v == x || v == w) {
                v = u;
                fv = fu;
            }
        }
    }
    position = x;
    return fx;
}

}  // namespace limenta
