// A second opinion on the run's model choice: each population's ten counts fitted by unweighted
// nonlinear least squares to three growth curves, compared by AICc. Plain C++ over GSL's
// trust-region Levenberg-Marquardt solver with analytic Jacobians.
//
// The counts y_0 .. y_9 stand at t = 0 .. 9 (month minus one). The curves:
//   exponential  f(t) = A e^(r t)                      parameters A, r
//   saturation   f(t) = S - (S - A) e^(-k t)           parameters A, k, S (dX/dt = k (S - X),
//                                                      the run's "logistic" equation, solved)
//   logistic     f(t) = S / (1 + (S/A - 1) e^(-r t))   parameters A, r, S (Verhulst)
#pragma once

#include "analysis/NumMethods.h"

#include <array>
#include <cstdint>
#include <vector>

enum class TFitModel : uint8_t { Exponential, Saturation, Logistic };
inline constexpr std::array<TFitModel, 3> FitModels = {TFitModel::Exponential,
                                                       TFitModel::Saturation, TFitModel::Logistic};

enum class TFitStatus : uint8_t { Ok, Exact, Undetermined };

// Why a fit is undetermined.
enum class TFitFailure : uint8_t {
    None,
    NoStart,      // the linearised start needs positive counts (and a positive maximum)
    NotConverged, // no step below 1e-12 relative within 1000 iterations
    NotFinite,    // a parameter or a value of the fit is not finite
    NoSaturation, // S <= 0, S > 10 max y or a rate < 0: the data show no saturation
    Singular,     // J^T J is singular at the optimum
};

// Parameter slots; the rate is r (exponential, logistic) or k (saturation).
enum TFitParameterIndex : int { FitA = 0, FitRate = 1, FitS = 2 };

struct TFitParameter {
    double Value = 0;
    double StdError = 0;
    // The 95 % interval: Value -/+ t(0.975, n - q) StdError.
    double Low = 0;
    double High = 0;
};

struct TModelFit {
    TFitModel Model = TFitModel::Exponential;
    TFitStatus Status = TFitStatus::Undetermined;
    TFitFailure Failure = TFitFailure::NoStart;
    int ParameterCount = 2; // q: 2 for the exponential, 3 for the others
    // A, rate, S; S is unused by the exponential. Meaningful only when determined.
    std::array<TFitParameter, 3> Parameters{};
    double Rss = 0;
    // Computed for determined fits that are not exact.
    double Aicc = 0;
    bool HasAicc = false;
    // Over the determined fits of a population when none of them is exact.
    double DeltaAicc = 0;
    double Weight = 0;
    bool HasWeight = false;
    int Iterations = 0;

    bool Determined() const { return Status != TFitStatus::Undetermined; }
    double A() const { return Parameters[FitA].Value; }
    double Rate() const { return Parameters[FitRate].Value; }
    double S() const { return Parameters[FitS].Value; }
};

struct TPopulationFit {
    // In the order of FitModels.
    std::array<TModelFit, 3> Models{};
    // The determined models, best first: exact fits (fewer parameters first), then by AICc.
    std::vector<TFitModel> Ranking;

    const TModelFit &Of(TFitModel model) const { return Models[static_cast<std::size_t>(model)]; }
    bool HasPreferred() const { return !Ranking.empty(); }
    // The best of Ranking; only when HasPreferred.
    TFitModel Preferred() const { return Ranking.front(); }
};

// The value of a fitted curve at t; the parameters are taken as they stand.
double FitCurveValue(TFitModel model, const std::array<TFitParameter, 3> &parameters, double t);

// One model fitted to the counts.
TModelFit FitModel(TFitModel model, const TCountArray &counts);

// All three models, with AICc differences, Akaike weights and the ranking.
TPopulationFit FitPopulation(const TCountArray &counts);
// How many populations FitPopulation has fitted since the program started: the fits are the
// costly part of a run, and an output that fitted again instead of reading the run shows here.
uint64_t PopulationFitCount();

// True when the fit's preferred model is the run's choice: the exponential for an exponential
// population, saturation or logistic for a logistic one.
bool FitAgrees(const TPopulationFit &fit, bool programLogistic);

// A determined fit's rate as the run's one-month step coefficient k: e^r - 1 for the
// exponential (X' = (1 + k) X), 1 - e^(-k) for saturation (X' = (1 - k) X + k S). False for the
// logistic model and for undetermined fits, which have none.
bool FitStepCoefficient(const TModelFit &fit, double &step);
