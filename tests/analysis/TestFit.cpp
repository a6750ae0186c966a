// The least-squares check against values computed independently, once, with SciPy: MINPACK's
// Levenberg-Marquardt from the same linearised start, covariance by numpy's inverse of J^T J,
// Student's t from scipy.stats. FitReference.py beside this file prints them.
#include "analysis/Fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace {

using M = TFitModel;

struct TReference {
    TFitStatus Status;
    TFitFailure Failure;
    std::array<double, 3> Parameters; // only when determined
    std::array<double, 3> StdErrors;
    double Rss;
    double Aicc; // when Status is Ok
    double Weight;
};

const TReference NoSaturation{TFitStatus::Undetermined, TFitFailure::NoSaturation, {}, {}, 0, 0, 0};

struct TCase {
    const char *Name;
    TCountArray Counts;
    std::array<TReference, 3> Fits; // exponential, saturation, logistic
    std::optional<M> Preferred;
};

// US census counts 1790 .. 1880, one per decade (U.S. Census Bureau, decennial censuses).
constexpr TCountArray Census = {3929214,  5308483,  7239881,  9638453,  12866020,
                                17069453, 23191876, 31443321, 38558371, 50189209};

const TCase Cases[] = {
    {"variant 1, population 1",
     {8, 504, 752, 876, 938, 969, 984, 992, 996, 997},
     {{{TFitStatus::Ok,
        TFitFailure::None,
        {524.7251546106373, 0.08841284767482639, 0},
        {111.56036008248532, 0.03290266299770567, 0},
        425035.4312636438,
        116.57342719116778,
        2.5115368815152955e-28},
       {TFitStatus::Ok,
        TFitFailure::None,
        {7.933246075128894, 0.6939631664004016, 999.5747076445631},
        {0.30947340522642813, 0.0005440292644617711, 0.15659237857281746},
        0.7044275901521486,
        -10.529548278188773,
        1.0},
       {TFitStatus::Ok,
        TFitFailure::None,
        {113.37869579154226, 1.7737437933975453, 968.8885835487656},
        {43.84257994025293, 0.3504591787762662, 24.21153802121928},
        25626.31638535177,
        94.4878999326289,
        1.5694622322486595e-23}}},
     M::Saturation},
    {"variant 1, population 2",
     {16, 24, 36, 54, 81, 122, 183, 275, 412, 618},
     {{{TFitStatus::Ok,
        TFitFailure::None,
        {16.043913863167035, 0.40570686820830665, 0},
        {0.02750902318764221, 0.00020685154532962852, 0},
        0.3312941265206292,
        -24.07333791409951,
        1.0},
       NoSaturation,
       NoSaturation}},
     M::Exponential},
    // The run's k is -2.71 here: one count drops from 998 to 939.
    {"variant 5, population 1",
     {8, 603, 841, 934, 973, 989, 995, 998, 939, 999},
     {{{TFitStatus::Ok,
        TFitFailure::None,
        {578.6405994602821, 0.0754071425336229, 0},
        {124.58722416873981, 0.03410308049795407, 0},
        497025.45422487427,
        118.13811426517452,
        1.3297029735989046e-10},
       {TFitStatus::Ok,
        TFitFailure::None,
        {6.689350844901105, 0.9475161103683358, 988.1849675189416},
        {20.122151047796052, 0.04968456500107931, 8.679989095904675},
        2887.7690728391062,
        72.65654442893339,
        0.999889583447567},
       {TFitStatus::Ok,
        TFitFailure::None,
        {53.69371112294305, 3.2571739298617643, 963.0702843968728},
        {46.57727705956512, 0.9329819404942823, 18.349591645301604},
        17862.660240773494,
        90.87882699995919,
        0.0001104164194628265}}},
     M::Saturation},
    {"variant 5, population 2",
     {10, 16, 25, 40, 64, 102, 163, 260, 416, 665},
     {{{TFitStatus::Ok,
        TFitFailure::None,
        {9.78224629685511, 0.4687829343757357, 0},
        {0.020625144098463666, 0.00025041305844704186, 0},
        0.3824515233398312,
        -22.637384631077786,
        1.0},
       NoSaturation,
       NoSaturation}},
     M::Exponential},
    // The classic finding: a Verhulst curve beats the exponential on these decades.
    {"US census 1790-1880",
     Census,
     {{{TFitStatus::Ok,
        TFitFailure::None,
        {4480383.905035939, 0.26993203629425566, 0},
        {212444.5358228645, 0.0060517719196400265, 0},
        5231463330877.11,
        279.83127057454647,
        0.11541699423736808},
       NoSaturation,
       {TFitStatus::Ok,
        TFitFailure::None,
        {3826740.3597730347, 0.3202817933799093, 175851096.2986992},
        {220469.47508048933, 0.01517302003730649, 42428853.06540885},
        1910525022374.0847,
        275.7581410804436,
        0.8845830057626318}}},
     M::Logistic},
    // 3 * 2^t: exact, no AICc and no weights; the exact fit wins.
    {"exact exponential",
     {3, 6, 12, 24, 48, 96, 192, 384, 768, 1536},
     {{{TFitStatus::Exact, TFitFailure::None, {3, 0.6931471805599452, 0}, {0, 0, 0}, 0, 0, 0},
       NoSaturation,
       NoSaturation}},
     M::Exponential},
    // A flat line: the exponential with r = 0 is exact; saturation and logistic reach it too,
    // but along a whole family of parameters (A = S, or k = 0): J^T J is singular there.
    {"all equal",
     {500, 500, 500, 500, 500, 500, 500, 500, 500, 500},
     {{{TFitStatus::Exact, TFitFailure::None, {500, 0, 0}, {0, 0, 0}, 0, 0, 0},
       {TFitStatus::Undetermined, TFitFailure::Singular, {}, {}, 0, 0, 0},
       {TFitStatus::Undetermined, TFitFailure::Singular, {}, {}, 0, 0, 0}}},
     M::Exponential},
    // Zeros and negatives: the logarithmic starts use the positive counts only.
    {"zeros and negatives",
     {0, 3, 0, -2, 8, 15, 0, 40, 90, 160},
     {{{TFitStatus::Ok,
        TFitFailure::None,
        {0.2646070542471468, 0.713855730024782, 0},
        {0.1581747064766839, 0.06864373176720309, 0},
        548.4291334089668,
        50.044729776611945,
        0.6721094058668381},
       NoSaturation,
       {TFitStatus::Ok,
        TFitFailure::None,
        {0.006686633354387308, 1.252103188354743, 230.15315092852464},
        {0.014040329770847331, 0.28937754755117806, 58.5403561765916},
        347.4449717278381,
        51.480212047313316,
        0.3278905941331619}}},
     M::Exponential},
    // About 6.6 times a month: A is far below the last count, yet well determined.
    {"6.6 times a month",
     {3, 20, 131, 862, 5692, 37569, 247955, 1636502, 10800914, 71286030},
     {{{TFitStatus::Ok,
        TFitFailure::None,
        {2.9999162168419784, 1.8870696192211651, 0},
        {5.880932378100442e-07, 2.183559573881995e-08, 0},
        0.4770894880094989,
        -20.42636292793691,
        1.0},
       NoSaturation,
       NoSaturation}},
     M::Exponential},
    {"exact 10^t",
     {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000},
     {{{TFitStatus::Exact, TFitFailure::None, {1, 2.302585092994046, 0}, {0, 0, 0}, 0, 0, 0},
       NoSaturation,
       NoSaturation}},
     M::Exponential},
    // A clean sigmoid from zeros: the logistic A is tiny next to the counts.
    {"sigmoid from zeros",
     {0, 0, 0, 0, 0, 0, 2, 40, 90, 100},
     {{{TFitStatus::Ok,
        TFitFailure::None,
        {0.6763303851175205, 0.5671710006179058, 0},
        {0.6776938723294721, 0.11696489742623242, 0},
        1397.950807059618,
        59.401776410973454,
        2.581123300183156e-11},
       NoSaturation,
       {TFitStatus::Ok,
        TFitFailure::None,
        {2.5177530854483496e-07, 2.7669976848845264, 99.82589251424244},
        {2.436677116314647e-07, 0.1381578714843431, 0.982649640397261},
        5.851631246207826,
        10.641353748851484,
        0.9999999999741889}}},
     M::Logistic},
    // 1.5^t million with noise of 40: close, but far from exact at rounding level.
    {"1.5^t million with noise",
     {999960, 1500040, 2249960, 3375040, 5062460, 7593790, 11390585, 17085917, 25628866, 38443399},
     {{{TFitStatus::Ok,
        TFitFailure::None,
        {999994.5218388818, 0.4054657691545135, 0},
        {5.490749313103378, 6.624573259427786e-07, 0},
        13163.761018110667,
        81.82637862704355,
        1.0},
       NoSaturation,
       NoSaturation}},
     M::Exponential},
};

constexpr double T8 = 2.3060041350333704; // Student's t(0.975) for 8 and 7 degrees of freedom
constexpr double T7 = 2.3646242510102993;

// Agreement to rel relative to the larger of |expected| and floor.
void ExpectNear(double actual, double expected, double rel, double floor, const char *what) {
    EXPECT_NEAR(actual, expected, rel * std::max(std::abs(expected), floor)) << what;
}

} // namespace

TEST(Fit, AgreesWithAnIndependentSolver) {
    for (const TCase &c : Cases) {
        SCOPED_TRACE(c.Name);
        const TPopulationFit fit = FitPopulation(c.Counts);
        double weights = 0;
        for (TFitModel model : FitModels) {
            SCOPED_TRACE(static_cast<int>(model));
            const TModelFit &f = fit.Of(model);
            const TReference &r = c.Fits[static_cast<std::size_t>(model)];
            ASSERT_EQ(f.Status, r.Status);
            EXPECT_EQ(f.Failure, r.Failure);
            EXPECT_LE(f.Iterations, 1000);
            if (!f.Determined()) continue;
            const bool exact = f.Status == TFitStatus::Exact;
            for (int j = 0; j < f.ParameterCount; ++j) {
                const TFitParameter &p = f.Parameters[j];
                // The two solvers stop at slightly different points of a flat minimum: they
                // must agree far inside the parameter's own uncertainty.
                EXPECT_NEAR(p.Value, r.Parameters[j],
                            1e-6 * r.StdErrors[j] + 1e-9 * std::max(std::abs(p.Value), 1.0));
                if (exact) {
                    EXPECT_LE(p.StdError, 1e-12 * std::max(std::abs(p.Value), 1.0));
                    continue;
                }
                ExpectNear(p.StdError, r.StdErrors[j], 1e-5, 0, "standard error");
                const double t = f.ParameterCount == 2 ? T8 : T7;
                EXPECT_NEAR(p.Low, p.Value - t * p.StdError, 1e-8 * t * p.StdError);
                EXPECT_NEAR(p.High, p.Value + t * p.StdError, 1e-8 * t * p.StdError);
            }
            if (exact) {
                EXPECT_FALSE(f.HasAicc);
                EXPECT_FALSE(f.HasWeight);
                EXPECT_LE(f.Rss, 1e-9);
                continue;
            }
            ExpectNear(f.Rss, r.Rss, 1e-8, 0, "rss");
            ASSERT_TRUE(f.HasAicc && f.HasWeight);
            EXPECT_NEAR(f.Aicc, r.Aicc, 1e-7);
            EXPECT_NEAR(f.Weight, r.Weight, 1e-8);
            weights += f.Weight;
        }
        if (weights > 0) {
            EXPECT_NEAR(weights, 1, 1e-12);
        }
        ASSERT_EQ(fit.HasPreferred(), c.Preferred.has_value());
        if (c.Preferred) {
            EXPECT_EQ(fit.Preferred(), *c.Preferred);
        }
    }
}

TEST(Fit, RankingAgreementAndStepCoefficients) {
    // Exact fits first, fewer parameters first; then by AICc.
    TPopulationFit fit = FitPopulation(Cases[0].Counts);
    EXPECT_EQ(fit.Ranking, (std::vector<M>{M::Saturation, M::Logistic, M::Exponential}));
    EXPECT_TRUE(FitAgrees(fit, true));
    EXPECT_FALSE(FitAgrees(fit, false));
    double step = 0;
    // 1 - e^(-k) against the run's k of 0.4704 for the same population.
    ASSERT_TRUE(FitStepCoefficient(fit.Of(M::Saturation), step));
    EXPECT_NEAR(step, 1 - std::exp(-0.6939631664004016), 1e-9);
    EXPECT_FALSE(FitStepCoefficient(fit.Of(M::Logistic), step));

    fit = FitPopulation(Cases[1].Counts);
    EXPECT_EQ(fit.Ranking, (std::vector<M>{M::Exponential}));
    EXPECT_TRUE(FitAgrees(fit, false));
    EXPECT_FALSE(FitAgrees(fit, true));
    ASSERT_TRUE(FitStepCoefficient(fit.Of(M::Exponential), step));
    EXPECT_NEAR(step, std::exp(0.40570686820830665) - 1, 1e-9); // the run's k: 0.5008
    EXPECT_FALSE(FitStepCoefficient(fit.Of(M::Saturation), step));

    // An exact logistic population: the exact three-parameter fit outranks a near one.
    TCountArray verhulst{};
    for (int i = 0; i < 10; ++i)
        verhulst[i] = static_cast<int32_t>(std::lround(1e6 / (1 + 999 * std::exp(-1.5 * i))));
    fit = FitPopulation(verhulst);
    ASSERT_TRUE(fit.HasPreferred());
    EXPECT_EQ(fit.Preferred(), M::Logistic);
    EXPECT_TRUE(FitAgrees(fit, true));
}

TEST(Fit, CountsWithoutAStartAreUndeterminedAtOnce) {
    // Nothing positive: no logarithmic start and no positive maximum; nothing is preferred.
    for (const TCountArray &counts :
         {TCountArray{}, TCountArray{-5, -4, -3, -2, -1, -1, -2, -3, -4, -5},
          TCountArray{0, 0, 0, 0, 7, 0, 0, 0, 0, 0}}) {
        const TPopulationFit fit = FitPopulation(counts);
        for (TFitModel model : FitModels) {
            const TModelFit &f = fit.Of(model);
            if (counts[4] == 7 && model == M::Saturation) {
                // One positive count: the saturation start exists, and the best curve runs away
                // from its S (k < 0), which is no saturation.
                EXPECT_EQ(f.Failure, TFitFailure::NoSaturation);
                EXPECT_LT(f.Rate(), 0);
                continue;
            }
            EXPECT_EQ(f.Status, TFitStatus::Undetermined);
            EXPECT_EQ(f.Failure, TFitFailure::NoStart);
            EXPECT_EQ(f.Iterations, 0);
        }
        EXPECT_FALSE(fit.HasPreferred());
        EXPECT_FALSE(FitAgrees(fit, true));
        EXPECT_FALSE(FitAgrees(fit, false));
    }
}
