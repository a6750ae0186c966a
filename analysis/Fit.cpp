#include "analysis/Fit.h"

#include <gsl/gsl_blas.h>
#include <gsl/gsl_cdf.h>
#include <gsl/gsl_errno.h>
#include <gsl/gsl_linalg.h>
#include <gsl/gsl_matrix.h>
#include <gsl/gsl_multifit_nlinear.h>
#include <gsl/gsl_vector.h>

#include <algorithm>
#include <atomic>
#include <cfloat>
#include <cmath>
#include <memory>

namespace {

constexpr int PointCount = 10;
constexpr int MaxIterations = 1000;
constexpr double StepTolerance = 1e-12;
// Where data show no saturation, the iteration walks S out along a valley towards a straight
// line (saturation) or a pure exponential (logistic), ever more slowly. Once S is a hundred times
// the largest count (ten times the limit of a determined fit) it is stopped there.
constexpr double RunawayFactor = 100;
// Residuals that overflow are handed to the solver as this, so a trial step that overshoots is
// rejected as a bad step instead of poisoning the iteration with infinities.
constexpr double HugeResidual = 1e150;
// Above this condition number of the unit-scaled J^T J a fit's parameters are undetermined.
constexpr double MaxCondition = 1e14;
// A fit is exact when its RSS is at rounding level: at most (64 eps)^2 times the sum of y^2.
constexpr double ExactRelative = 64 * DBL_EPSILON;

struct TFitData {
    TFitModel Model;
    std::array<double, PointCount> Y;
};

int ParameterCountOf(TFitModel model) {
    return model == TFitModel::Exponential ? 2 : 3;
}

double CurveValue(TFitModel model, double A, double rate, double S, double t) {
    switch (model) {
    case TFitModel::Exponential:
        return A * std::exp(rate * t);
    case TFitModel::Saturation:
        return S - (S - A) * std::exp(-rate * t);
    case TFitModel::Logistic:
        return S / (1 + (S / A - 1) * std::exp(-rate * t));
    }
    return 0;
}

void Unpack(TFitModel model, const gsl_vector *x, double &A, double &rate, double &S) {
    A = gsl_vector_get(x, 0);
    rate = gsl_vector_get(x, 1);
    S = model == TFitModel::Exponential ? 0 : gsl_vector_get(x, 2);
}

int Residuals(const gsl_vector *x, void *params, gsl_vector *f) {
    const auto &data = *static_cast<const TFitData *>(params);
    double A, rate, S;
    Unpack(data.Model, x, A, rate, S);
    for (int i = 0; i < PointCount; ++i) {
        const double r = CurveValue(data.Model, A, rate, S, i) - data.Y[i];
        gsl_vector_set(f, i, std::isfinite(r) && std::abs(r) < HugeResidual ? r : HugeResidual);
    }
    return GSL_SUCCESS;
}

// The Jacobian at x. accurate: 1 - e^(-rate t) by expm1, so a column that vanishes with the rate
// keeps its shape instead of turning into rounding noise (the conditioning test needs that; the
// solver and the standard errors keep the plain form).
void FillJacobian(TFitModel model, const gsl_vector *x, gsl_matrix *J, bool accurate) {
    double A, rate, S;
    Unpack(model, x, A, rate, S);
    for (int i = 0; i < PointCount; ++i) {
        const double t = i;
        switch (model) {
        case TFitModel::Exponential: {
            const double e = std::exp(rate * t);
            gsl_matrix_set(J, i, 0, e);
            gsl_matrix_set(J, i, 1, A * t * e);
            break;
        }
        case TFitModel::Saturation: {
            const double e = std::exp(-rate * t);
            gsl_matrix_set(J, i, 0, e);
            gsl_matrix_set(J, i, 1, (S - A) * t * e);
            gsl_matrix_set(J, i, 2, accurate ? -std::expm1(-rate * t) : 1 - e);
            break;
        }
        case TFitModel::Logistic: {
            // f = S / D with D = 1 + B e, B = S/A - 1, e = e^(-r t).
            const double e = std::exp(-rate * t);
            const double B = S / A - 1;
            const double D = 1 + B * e;
            gsl_matrix_set(J, i, 0, S * S * e / (A * A * D * D));
            gsl_matrix_set(J, i, 1, S * B * t * e / (D * D));
            gsl_matrix_set(J, i, 2, (accurate ? -std::expm1(-rate * t) : 1 - e) / (D * D));
            break;
        }
        }
    }
}

int Jacobian(const gsl_vector *x, void *params, gsl_matrix *J) {
    FillJacobian(static_cast<const TFitData *>(params)->Model, x, J, false);
    return GSL_SUCCESS;
}

// The least-squares line v = a + b t through the given points; false with fewer than two.
bool LineFit(const std::vector<double> &t, const std::vector<double> &v, double &a, double &b) {
    const auto n = static_cast<double>(t.size());
    if (t.size() < 2) return false;
    double st = 0, sv = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        st += t[i];
        sv += v[i];
    }
    const double mt = st / n, mv = sv / n;
    double stt = 0, stv = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        stt += (t[i] - mt) * (t[i] - mt);
        stv += (t[i] - mt) * (v[i] - mv);
    }
    if (stt == 0) return false;
    b = stv / stt;
    a = mv - b * mt;
    return std::isfinite(a) && std::isfinite(b);
}

// The linearised estimates the iteration starts from; false when they cannot be formed.
bool StartValues(TFitModel model, const std::array<double, PointCount> &y,
                 std::array<double, 3> &x) {
    std::vector<double> t, v;
    double a = 0, b = 0;
    if (model == TFitModel::Exponential) {
        // ln y = ln A + r t over the positive counts.
        for (int i = 0; i < PointCount; ++i)
            if (y[i] > 0) {
                t.push_back(i);
                v.push_back(std::log(y[i]));
            }
        if (!LineFit(t, v, a, b)) return false;
        x = {std::exp(a), b, 0};
        return std::isfinite(x[0]);
    }
    const double S0 = 1.05 * *std::max_element(y.begin(), y.end());
    if (!(S0 > 0)) return false;
    for (int i = 0; i < PointCount; ++i) {
        if (model == TFitModel::Saturation) {
            // ln(S0 - y) = ln(S0 - A) - k t; every count lies below S0.
            t.push_back(i);
            v.push_back(std::log(S0 - y[i]));
        } else if (y[i] > 0) {
            // ln(y / (S0 - y)) = -ln(S0/A - 1) + r t over the positive counts.
            t.push_back(i);
            v.push_back(std::log(y[i] / (S0 - y[i])));
        }
    }
    if (!LineFit(t, v, a, b)) return false;
    if (model == TFitModel::Saturation)
        x = {S0 - std::exp(a), -b, S0};
    else
        x = {S0 / (1 + std::exp(-a)), b, S0};
    return std::isfinite(x[0]);
}

bool AllFinite(const gsl_vector *x) {
    for (std::size_t i = 0; i < x->size; ++i)
        if (!std::isfinite(gsl_vector_get(x, i))) return false;
    return true;
}

using TMatrix = std::unique_ptr<gsl_matrix, decltype(&gsl_matrix_free)>;
using TVector = std::unique_ptr<gsl_vector, decltype(&gsl_vector_free)>;

// J = U Sigma V^T of a copy of J with column j multiplied by scale[j]; false when it cannot be
// formed (a value that is not finite).
bool ScaledSvd(const gsl_matrix *J, const std::array<double, 3> &scale, TMatrix &V,
               TVector &sigma) {
    const std::size_t n = J->size1, q = J->size2;
    TMatrix U(gsl_matrix_alloc(n, q), gsl_matrix_free);
    TVector work(gsl_vector_alloc(q), gsl_vector_free);
    V = TMatrix(gsl_matrix_alloc(q, q), gsl_matrix_free);
    sigma = TVector(gsl_vector_alloc(q), gsl_vector_free);
    for (std::size_t j = 0; j < q; ++j)
        for (std::size_t i = 0; i < n; ++i) {
            const double v = gsl_matrix_get(J, i, j) * scale[j];
            if (!std::isfinite(v)) return false;
            gsl_matrix_set(U.get(), i, j, v);
        }
    return gsl_linalg_SV_decomp(U.get(), V.get(), sigma.get(), work.get()) == GSL_SUCCESS;
}

// Whether the parameters are determined by the curve at the optimum: J^T J, with each column of
// J scaled to unit length, has a condition number of at most 1e14. Judged without units, a curve
// whose A lies far below its last count (fast growth) is as well determined as any other, and a
// parameter that cannot move the curve still shows as a column that is (nearly) parallel to
// another, or zero.
bool WellConditioned(const gsl_matrix *J) {
    const std::size_t n = J->size1, q = J->size2;
    std::array<double, 3> scale{};
    for (std::size_t j = 0; j < q; ++j) {
        double sum = 0;
        for (std::size_t i = 0; i < n; ++i)
            sum += gsl_matrix_get(J, i, j) * gsl_matrix_get(J, i, j);
        if (!(sum > 0) || !std::isfinite(sum)) return false;
        scale[j] = 1 / std::sqrt(sum);
    }
    TMatrix V(nullptr, gsl_matrix_free);
    TVector sigma(nullptr, gsl_vector_free);
    if (!ScaledSvd(J, scale, V, sigma)) return false;
    const double ratio = gsl_vector_get(sigma.get(), 0) / gsl_vector_get(sigma.get(), q - 1);
    return ratio * ratio <= MaxCondition;
}

// Standard errors from s^2 (J^T J)^-1, by the SVD of J in the problem's own units: A and S
// measured in counts (the largest count), the rate per month. False when that SVD cannot be
// formed or has a zero singular value.
bool StandardErrors(const gsl_matrix *J, double countScale, double s2, std::array<double, 3> &se) {
    const std::size_t q = J->size2;
    std::array<double, 3> scale{};
    for (std::size_t j = 0; j < q; ++j)
        scale[j] = j == FitRate ? 1 : countScale;
    TMatrix V(nullptr, gsl_matrix_free);
    TVector sigma(nullptr, gsl_vector_free);
    if (!ScaledSvd(J, scale, V, sigma)) return false;
    if (!(gsl_vector_get(sigma.get(), q - 1) > 0)) return false;
    // With J = Js D^-1 (D the scales) and Js = U Sigma V^T: (J^T J)^-1 = D V Sigma^-2 V^T D.
    for (std::size_t j = 0; j < q; ++j) {
        double sum = 0;
        for (std::size_t k = 0; k < q; ++k) {
            const double v = gsl_matrix_get(V.get(), j, k) / gsl_vector_get(sigma.get(), k);
            sum += v * v;
        }
        se[j] = std::sqrt(s2 * sum) * scale[j];
    }
    return true;
}

// GSL's default error handler aborts the program; the fit reports every failure itself.
void SilenceGsl() {
    static const bool silenced = [] {
        gsl_set_error_handler_off();
        return true;
    }();
    (void)silenced;
}

TModelFit Undetermined(TModelFit fit, TFitFailure failure) {
    fit.Status = TFitStatus::Undetermined;
    fit.Failure = failure;
    return fit;
}

struct TSolverEnd {
    bool Converged = false;
    bool Finite = true;
};

// Runs the solver of a q-parameter fit to convergence, to a position that is not finite or runs
// away from the counts (S beyond RunawayFactor times the largest count), or to MaxIterations;
// iterations receives how many it took.
TSolverEnd Iterate(gsl_multifit_nlinear_workspace *w, int q, double maxY, int &iterations) {
    TSolverEnd end;
    for (int iteration = 1; iteration <= MaxIterations; ++iteration) {
        const int status = gsl_multifit_nlinear_iterate(w);
        iterations = iteration;
        const gsl_vector *x = gsl_multifit_nlinear_position(w);
        if (!AllFinite(x)) {
            end.Finite = false;
            break;
        }
        if (q == 3 && gsl_vector_get(x, FitS) > RunawayFactor * maxY) break;
        // "No progress" means fifteen trial steps in a row were rejected; when the last of them
        // is below the tolerance the point is a minimum to working precision.
        if (status != GSL_SUCCESS && status != GSL_ENOPROG) break;
        int info = 0;
        if (gsl_multifit_nlinear_test(StepTolerance, 0, 0, &info, w) == GSL_SUCCESS) {
            end.Converged = true;
            break;
        }
    }
    return end;
}

// The standard errors and 95 % confidence intervals of the parameters; false when an interval
// is not finite.
bool SetIntervals(TModelFit &fit, const std::array<double, 3> &se) {
    const int q = fit.ParameterCount;
    const double tq = gsl_cdf_tdist_Pinv(0.975, PointCount - q);
    for (int j = 0; j < q; ++j) {
        TFitParameter &p = fit.Parameters[j];
        p.StdError = se[j];
        p.Low = p.Value - tq * se[j];
        p.High = p.Value + tq * se[j];
        if (!std::isfinite(p.Low) || !std::isfinite(p.High)) return false;
    }
    return true;
}

// A determined fit as exact (its residuals vanish against the counts, whose squares sum to
// sumY2) or ok with its AICc.
TModelFit Judged(TModelFit fit, double sumY2) {
    fit.Failure = TFitFailure::None;
    if (fit.Rss <= ExactRelative * ExactRelative * sumY2) {
        fit.Status = TFitStatus::Exact;
        return fit;
    }
    fit.Status = TFitStatus::Ok;
    // AICc with p = q + 1 estimated values (the parameters and the error variance).
    const double n = PointCount, p = fit.ParameterCount + 1;
    fit.Aicc = n * std::log(fit.Rss / n) + 2 * p + 2 * p * (p + 1) / (n - p - 1);
    fit.HasAicc = std::isfinite(fit.Aicc);
    if (!fit.HasAicc) return Undetermined(fit, TFitFailure::NotFinite);
    return fit;
}

} // namespace

double FitCurveValue(TFitModel model, const std::array<TFitParameter, 3> &parameters, double t) {
    return CurveValue(model, parameters[FitA].Value, parameters[FitRate].Value,
                      parameters[FitS].Value, t);
}

TModelFit FitModel(TFitModel model, const TCountArray &counts) {
    SilenceGsl();
    TModelFit fit;
    fit.Model = model;
    fit.ParameterCount = ParameterCountOf(model);
    const int q = fit.ParameterCount;

    TFitData data{model, {}};
    double maxY = counts[0], maxAbsY = 0, sumY2 = 0;
    for (int i = 0; i < PointCount; ++i) {
        data.Y[i] = counts[i];
        maxY = std::max(maxY, data.Y[i]);
        maxAbsY = std::max(maxAbsY, std::abs(data.Y[i]));
        sumY2 += data.Y[i] * data.Y[i];
    }
    std::array<double, 3> start{};
    if (!StartValues(model, data.Y, start)) return Undetermined(fit, TFitFailure::NoStart);

    gsl_multifit_nlinear_fdf fdf{};
    fdf.f = Residuals;
    fdf.df = Jacobian;
    fdf.n = PointCount;
    fdf.p = static_cast<std::size_t>(q);
    fdf.params = &data;
    const gsl_multifit_nlinear_parameters settings = gsl_multifit_nlinear_default_parameters();
    std::unique_ptr<gsl_multifit_nlinear_workspace, decltype(&gsl_multifit_nlinear_free)> w(
        gsl_multifit_nlinear_alloc(gsl_multifit_nlinear_trust, &settings, PointCount, fdf.p),
        gsl_multifit_nlinear_free);
    gsl_vector_view x0 = gsl_vector_view_array(start.data(), fdf.p);
    if (!w || gsl_multifit_nlinear_init(&x0.vector, &fdf, w.get()) != GSL_SUCCESS)
        return Undetermined(fit, TFitFailure::NotConverged);

    const TSolverEnd end = Iterate(w.get(), q, maxY, fit.Iterations);
    const bool converged = end.Converged, finite = end.Finite;

    const gsl_vector *x = gsl_multifit_nlinear_position(w.get());
    for (int j = 0; j < q; ++j)
        fit.Parameters[j].Value = gsl_vector_get(x, j);
    if (!finite) return Undetermined(fit, TFitFailure::NotFinite);
    fit.Rss = 0;
    for (int i = 0; i < PointCount; ++i) {
        const double r = FitCurveValue(model, fit.Parameters, i) - data.Y[i];
        fit.Rss += r * r;
    }
    if (!std::isfinite(fit.Rss)) return Undetermined(fit, TFitFailure::NotFinite);
    // A negative rate turns the curve away from S: no saturation either.
    if (model != TFitModel::Exponential &&
        (!(fit.S() > 0) || fit.S() > 10 * maxY || fit.Rate() < 0))
        return Undetermined(fit, TFitFailure::NoSaturation);
    if (!converged) return Undetermined(fit, TFitFailure::NotConverged);

    {
        TMatrix accurate(gsl_matrix_alloc(PointCount, fdf.p), gsl_matrix_free);
        FillJacobian(model, x, accurate.get(), true);
        if (!WellConditioned(accurate.get())) return Undetermined(fit, TFitFailure::Singular);
    }
    std::array<double, 3> se{};
    if (!StandardErrors(gsl_multifit_nlinear_jac(w.get()), maxAbsY, fit.Rss / (PointCount - q), se))
        return Undetermined(fit, TFitFailure::Singular);
    if (!SetIntervals(fit, se)) return Undetermined(fit, TFitFailure::NotFinite);
    return Judged(fit, sumY2);
}

namespace {
std::atomic<uint64_t> PopulationFits{0};
} // namespace

uint64_t PopulationFitCount() {
    return PopulationFits.load(std::memory_order_relaxed);
}

TPopulationFit FitPopulation(const TCountArray &counts) {
    PopulationFits.fetch_add(1, std::memory_order_relaxed);
    TPopulationFit result;
    bool anyExact = false;
    for (TFitModel model : FitModels) {
        TModelFit &fit = result.Models[static_cast<std::size_t>(model)];
        fit = FitModel(model, counts);
        if (fit.Determined()) result.Ranking.push_back(model);
        anyExact = anyExact || fit.Status == TFitStatus::Exact;
    }
    std::stable_sort(result.Ranking.begin(), result.Ranking.end(), [&](TFitModel a, TFitModel b) {
        const TModelFit &fa = result.Of(a), &fb = result.Of(b);
        const bool ea = fa.Status == TFitStatus::Exact, eb = fb.Status == TFitStatus::Exact;
        if (ea != eb) return ea;
        if (ea) return fa.ParameterCount < fb.ParameterCount;
        return fa.Aicc < fb.Aicc;
    });
    // An exact fit would take all the weight; the weights are only given when none is exact.
    if (!anyExact && !result.Ranking.empty()) {
        const double best = result.Of(result.Ranking.front()).Aicc;
        double total = 0;
        for (TFitModel model : result.Ranking) {
            TModelFit &fit = result.Models[static_cast<std::size_t>(model)];
            fit.DeltaAicc = fit.Aicc - best;
            total += std::exp(-fit.DeltaAicc / 2);
        }
        for (TFitModel model : result.Ranking) {
            TModelFit &fit = result.Models[static_cast<std::size_t>(model)];
            fit.Weight = std::exp(-fit.DeltaAicc / 2) / total;
            fit.HasWeight = true;
        }
    }
    return result;
}

bool FitAgrees(const TPopulationFit &fit, bool programLogistic) {
    if (!fit.HasPreferred()) return false;
    return programLogistic ? fit.Preferred() != TFitModel::Exponential
                           : fit.Preferred() == TFitModel::Exponential;
}

bool FitStepCoefficient(const TModelFit &fit, double &step) {
    if (!fit.Determined()) return false;
    if (fit.Model == TFitModel::Exponential)
        step = std::expm1(fit.Rate());
    else if (fit.Model == TFitModel::Saturation)
        step = -std::expm1(-fit.Rate());
    else
        return false;
    return true;
}
