#include "analysis/CheckPage.h"

#include "analysis/Texts.h"
#include "runtime/Cp1251.h"
#include "runtime/NumText.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr std::string_view TextFace = "Comic Sans MS";
constexpr uint8_t RussianCharset = 204;
constexpr int32_t FormulaSize = 8;
// Plain text is broken at word boundaries before this many characters, which fit the narrower
// image area in the 8 point text font.
constexpr std::size_t TextColumns = 68;
// Falls of the counts named in a warning; beyond them only their number.
constexpr int MaxFallsNamed = 2;
// Samples of a fitted curve from month 1 to month 10.
constexpr int CurveSamples = 91;

// By TFitModel: the name in the records, and the model's name (UTF-8) as a heading and inside a
// sentence.
struct TModelNames {
    const char *Record, *Heading, *InSentence;
};
constexpr TModelNames ModelNames[] = {
    {"exponential", TR_NOOP("CheckPage", "Экспоненциальная модель"),
     TR_NOOP("CheckPage", "экспоненциальная модель")},
    {"saturation", TR_NOOP("CheckPage", "Модель насыщения"),
     TR_NOOP("CheckPage", "модель насыщения")},
    {"logistic", TR_NOOP("CheckPage", "Модель Ферхюльста"),
     TR_NOOP("CheckPage", "модель Ферхюльста")},
};

const char *RecordName(TFitModel model) {
    return ModelNames[static_cast<std::size_t>(model)].Record;
}

std::string ModelTitle(TFitModel model, bool heading = true) {
    const TModelNames &names = ModelNames[static_cast<std::size_t>(model)];
    return Tr("CheckPage", heading ? names.Heading : names.InSentence);
}

// By TFitFailure.
std::string FailureText(TFitFailure failure) {
    static constexpr const char *Texts[] = {
        "",
        TR_NOOP("CheckPage", "нет начального приближения: мало положительных численностей"),
        TR_NOOP("CheckPage", "итерации не сошлись за 1000 шагов"),
        TR_NOOP("CheckPage", "значения вышли за пределы представимых чисел"),
        TR_NOOP("CheckPage", "данные не показывают насыщения"),
        TR_NOOP("CheckPage", "параметры не определяются однозначно"),
    };
    return failure == TFitFailure{} ? std::string()
                                    : Tr("CheckPage", Texts[static_cast<std::size_t>(failure)]);
}

// Decimals that show a parameter as its standard error allows: the error to two significant
// digits, the value and its interval to the same place; at most 4, as elsewhere in the program.
int DecimalsFor(double se) {
    if (!(se > 0) || !std::isfinite(se)) return 4;
    return std::clamp(1 - static_cast<int>(std::floor(std::log10(se))), 0, 4);
}

// Six significant digits of a value of a million or more, as mantissa and power of ten: the
// power-of-ten form of the chart axes ("5,23146·10¹²"), so no number runs to a dozen digits.
// False for smaller values (and for values that are not finite).
bool PowerOfTen(double v, char separator, std::string &mantissa, int &exponent) {
    if (!std::isfinite(v) || std::abs(v) < 1e6) return false;
    exponent = static_cast<int>(std::floor(std::log10(std::abs(v))));
    double m = v / std::pow(10.0, exponent);
    // Rounding to six digits can make 9,999995 into 10.
    if (std::abs(std::round(m * 1e5)) >= 1e6) {
        ++exponent;
        m = v / std::pow(10.0, exponent);
    }
    mantissa = FloatToStrPlain(m, 5, separator);
    if (mantissa.find(separator) != std::string::npos) {
        while (mantissa.back() == '0')
            mantissa.pop_back();
        if (mantissa.back() == separator) mantissa.pop_back();
    }
    return true;
}

// A number for formula text with the given decimals; from a million on, six significant digits
// times a power of ten.
std::string Fixed(double v, int decimals) {
    std::string mantissa;
    int exponent = 0;
    if (PowerOfTen(v, '.', mantissa, exponent))
        return mantissa + "*.10^" + std::to_string(exponent);
    return FloatToStrPlain(v, decimals, '.');
}

// A value with about five significant digits (at most 4 decimals), for formula text.
std::string Significant(double v) {
    const int magnitude =
        v != 0 && std::isfinite(v) ? static_cast<int>(std::floor(std::log10(std::abs(v)))) : 0;
    return Fixed(v, std::clamp(4 - magnitude, 0, 4));
}

// A number text with the minus sign "−" for its leading hyphen, as the formulas write it (UTF-8).
std::string WithMinusSign(std::string text) {
    if (!text.empty() && text[0] == '-') text.replace(0, 1, "\u2212");
    return text;
}

std::string Superscript(int n) {
    static const char *const digits[] = {"\u2070", "\u00B9", "\u00B2", "\u00B3", "\u2074",
                                         "\u2075", "\u2076", "\u2077", "\u2078", "\u2079"};
    std::string out = n < 0 ? "\u207B" : "";
    for (char c : std::to_string(n < 0 ? -int64_t{n} : int64_t{n}))
        out += digits[c - '0'];
    return out;
}

// A value for the page's plain text (UTF-8): about five significant digits below a million,
// beyond it as PowerOfTen; the minus sign "−".
std::string PlainNumber(double v) {
    std::string mantissa;
    int exponent = 0;
    if (PowerOfTen(v, DecimalSeparator(), mantissa, exponent))
        return WithMinusSign(mantissa) + "\u00B710" + Superscript(exponent);
    const int magnitude =
        v != 0 && std::isfinite(v) ? static_cast<int>(std::floor(std::log10(std::abs(v)))) : 0;
    return WithMinusSign(FloatToStrPlain(v, std::clamp(4 - magnitude, 0, 4), DecimalSeparator()));
}

// A term that follows another in a sum: "+x" or "-|x|".
std::string Signed(char sign, double v, int decimals) {
    std::string out(1, v < 0 ? (sign == '+' ? '-' : '+') : sign);
    out += Fixed(std::abs(v), decimals);
    return out;
}

// The fitted curve with its numbers; the rates of determined saturation and logistic fits are
// not negative.
std::string CurveFormula(const TModelFit &f) {
    const std::array<TFitParameter, 3> &p = f.Parameters;
    const int dA = DecimalsFor(p[FitA].StdError), dS = DecimalsFor(p[FitS].StdError);
    const std::string A = Fixed(f.A(), dA), S = Fixed(f.S(), dS);
    const std::string rate = Fixed(f.Rate(), DecimalsFor(p[FitRate].StdError));
    switch (f.Model) {
    case TFitModel::Exponential:
        return "X(t)=" + A + "*.e^(" + rate + "*t)";
    case TFitModel::Saturation:
        return "X(t)=" + S + "-(" + S + Signed('-', f.A(), dA) + ")*.e^(-" + rate + "*t)";
    case TFitModel::Logistic: {
        const double B = f.S() / f.A() - 1;
        std::string b = Significant(std::abs(B));
        b.insert(b.begin(), B < 0 ? '-' : '+');
        return "X(t)=" + S + "/(1" + b + "*.e^(-" + rate + "*t))";
    }
    }
    return {};
}

// "A=7.93+-0.31   k=..." and "95 %: A in [7.20, 8.67]   k in [...]".
std::string ParameterLines(const TModelFit &f, std::string &intervals) {
    const char *names[] = {"A", f.Model == TFitModel::Saturation ? "k" : "r", "S"};
    std::string values;
    intervals = Win1251("String(\"95 %:\")");
    for (int j = 0; j < f.ParameterCount; ++j) {
        const TFitParameter &p = f.Parameters[j];
        const int d = DecimalsFor(p.StdError);
        if (j > 0) values += "&Space(10)&";
        values += std::string(names[j]) + "=" + Fixed(p.Value, d) + "+-" + Fixed(p.StdError, d);
        intervals += std::string(j == 0 ? "&Space(4)&" : "&Space(10)&") + names[j] +
                     "&Space(2)&Symbol(8712)&Space(2)&[" + Fixed(p.Low, d) + "," +
                     Fixed(p.High, d) + "]";
    }
    return values;
}

// Characters of a UTF-8 text.
std::size_t Characters(const std::string &utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// Greedy breaking of a UTF-8 text at blanks into lines of at most TextColumns characters.
std::vector<std::string> Wrapped(const std::string &text) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find(' ', at);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(at, end - at);
        if (!line.empty() && Characters(line) + 1 + Characters(word) > TextColumns) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        at = end + 1;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

std::vector<std::string> Warnings(const TPopulationRun &p, int32_t S) {
    const TCountArray &c = p.Counts;
    std::vector<std::string> out;
    if (p.K < 0 && c[9] > c[0])
        out.push_back(Tr("CheckPage",
                         "Коэффициент k программы отрицателен, хотя численность выросла: "
                         "по модели программы популяция убывает."));
    std::string tables;
    auto negative = [](const auto &values) {
        return std::any_of(values.begin(), values.end(), [](double v) { return v < 0; });
    };
    for (const auto &[isNegative, name] :
         {std::pair{negative(p.Week), Tr("CheckPage", "понедельный")},
          std::pair{negative(p.TwoYears), Tr("CheckPage", "за два года")},
          std::pair{negative(p.ThreeYears), Tr("CheckPage", "за три года")}})
        if (isNegative) tables += (tables.empty() ? "" : ", ") + std::string(name);
    if (!tables.empty())
        out.push_back(Tr("CheckPage", "Прогноз программы даёт отрицательную численность (") +
                      tables + ").");
    if (p.Logistic) {
        // Months in a row of three or more as a range: "в месяцах 3–10".
        std::string months;
        for (int i = 0; i < 10; ++i) {
            if (c[i] <= S) continue;
            int last = i;
            while (last + 1 < 10 && c[last + 1] > S)
                ++last;
            months += (months.empty() ? " " : ", ") + IntToStr(i + 1);
            if (last - i >= 2) {
                months += "\u2013" + IntToStr(last + 1);
                i = last;
            }
        }
        if (!months.empty())
            out.push_back(Tr("CheckPage", "Численность выше S = ") + WithMinusSign(IntToStr(S)) +
                          Tr("CheckPage", " в месяцах") + months + ".");
    }
    // The first falls are named; of many only two, so the page keeps room for them.
    std::string falls;
    int fallCount = 0;
    for (int i = 0; i < 9; ++i) {
        if (c[i + 1] >= c[i]) continue;
        if (++fallCount > MaxFallsNamed) continue;
        falls += (falls.empty() ? " " : "; ") + Tr("CheckPage", "от месяца ") + IntToStr(i + 1) +
                 Tr("CheckPage", " к месяцу ") + IntToStr(i + 2) + Tr("CheckPage", " (с ") +
                 WithMinusSign(IntToStr(c[i])) + Tr("CheckPage", " до ") +
                 WithMinusSign(IntToStr(c[i + 1])) + ")";
    }
    if (fallCount > MaxFallsNamed)
        out.push_back(Tr("CheckPage", "Численность падает ") + IntToStr(fallCount) +
                      (fallCount <= 4 ? Tr("CheckPage", " раза") : Tr("CheckPage", " раз")) +
                      Tr("CheckPage", ", в том числе:") + falls + ".");
    else if (fallCount > 0)
        out.push_back(Tr("CheckPage", "Численность падает:") + falls + ".");
    return out;
}

// Points while they stay within lo .. hi; a line that leaves ends on the edge it crosses.
TPointList Clipped(const TPointList &points, double lo, double hi) {
    TPointList out;
    for (const TChartPoint &p : points) {
        if (std::isfinite(p.Y) && p.Y >= lo && p.Y <= hi) {
            out.push_back(p);
            continue;
        }
        if (!out.empty() && !std::isnan(p.Y)) {
            const TChartPoint last = out.back();
            const double edge = p.Y > hi ? hi : lo;
            const double x = std::isfinite(p.Y)
                                 ? last.X + (edge - last.Y) / (p.Y - last.Y) * (p.X - last.X)
                                 : last.X;
            out.push_back({x, edge});
        }
        break;
    }
    return out;
}

void ChartSeries(TPopulationCheck &check, const TPopulationRun &p) {
    double lo = 0, hi = 0;
    for (int i = 0; i < 10; ++i) {
        check.Series[CheckCounts].push_back({double(i + 1), double(p.Counts[i])});
        lo = std::min(lo, double(p.Counts[i]));
        hi = std::max(hi, double(p.Counts[i]));
    }
    // Curves are shown over the counts' range and a quarter of it beyond each side, so a model
    // that runs off does not squash the counts into a line.
    const double margin = (hi > lo ? hi - lo : 1) / 4;
    lo -= margin;
    hi += margin;
    TPointList program;
    for (int n = 0; n < 10; ++n)
        program.push_back({double(n + 1), p.TwoYears[n]});
    check.Series[CheckProgram] = Clipped(program, lo, hi);
    for (TFitModel model : FitModels) {
        const TModelFit &f = check.Fit.Of(model);
        if (!f.Determined()) continue;
        TPointList curve;
        for (int j = 0; j < CurveSamples; ++j) {
            const double t = j * 9.0 / (CurveSamples - 1);
            curve.push_back({t + 1, FitCurveValue(model, f.Parameters, t)});
        }
        check.Series[CheckFirstCurve + static_cast<int>(model)] = Clipped(curve, lo, hi);
    }
}

void PageLines(TPopulationCheck &check, const TPopulationRun &p, int population) {
    auto text = [&](const std::string &line, int32_t gap = 0) {
        for (const std::string &part : Wrapped(line)) {
            check.Lines.push_back({false, part, gap});
            gap = 0;
        }
    };
    auto formula = [&](const std::string &line, int32_t gap = 0) {
        check.Lines.push_back({true, line, gap});
    };
    text(population == 1
             ? Tr("CheckPage", "Первая популяция: подгонка методом наименьших квадратов")
             : Tr("CheckPage", "Вторая популяция: подгонка методом наименьших квадратов"));
    formula("String(\"" + TrW("CheckPage", "Модель программы: ") + "\")&" + p.ModelLine);
    if (p.Logistic)
        text(Tr("CheckPage", "Это уравнение насыщения; логистическая кривая - модель Ферхюльста."));

    const TPopulationFit &fit = check.Fit;
    for (TFitModel model : FitModels) {
        const TModelFit &f = fit.Of(model);
        std::string title = ModelTitle(model);
        if (!f.Determined()) {
            text(title + Tr("CheckPage", ": не определена, ") + FailureText(f.Failure) + ".", 6);
            continue;
        }
        title += (f.Status == TFitStatus::Exact ? Tr("CheckPage", ": точная подгонка, RSS = ")
                                                : ": RSS = ") +
                 PlainNumber(f.Rss);
        if (f.HasAicc) title += "; AICc = " + PlainNumber(f.Aicc);
        if (f.HasWeight)
            title += Tr("CheckPage", "; вес ") + FloatToStrPlain(f.Weight, 4, DecimalSeparator());
        text(title, 6);
        formula(CurveFormula(f));
        std::string intervals;
        formula(ParameterLines(f, intervals));
        formula(intervals);
    }

    if (!fit.HasPreferred()) {
        text(Tr("CheckPage", "Ни одна модель не определена по этим данным."), 8);
    } else if (fit.Of(fit.Preferred()).Status == TFitStatus::Exact) {
        text(Tr("CheckPage", "Данные точно описывает ") + ModelTitle(fit.Preferred(), false) + ".",
             8);
    } else {
        text(Tr("CheckPage", "Лучшая по AICc - ") + ModelTitle(fit.Preferred(), false) + ".", 8);
    }
    // What agrees is the choice of the model, not the numbers: the run's k may be far off.
    const std::string programModel = p.Logistic ? Tr("CheckPage", "логистическая модель")
                                                : Tr("CheckPage", "экспоненциальная модель");
    text(check.Agrees
             ? Tr("CheckPage", "Выбор модели совпадает с программой (") + programModel + ")."
         : fit.HasPreferred()
             ? Tr("CheckPage", "Выбор модели не совпадает с программой (") + programModel + ")."
             : Tr("CheckPage", "Подгонка не определена; у программы ") + programModel + ".");
    // The run's k next to the fitted one-month step coefficient of the same equation.
    const TModelFit &same = fit.Of(p.Logistic ? TFitModel::Saturation : TFitModel::Exponential);
    std::string steps =
        "String(\"" + TrW("CheckPage", "Шаг за месяц: программа ") + "\")&k=" + FormulaNumber(p.K);
    double step = 0;
    if (FitStepCoefficient(same, step))
        steps += "&String(\"" + TrW("CheckPage", ", подгонка ") + "\")&" +
                 (p.Logistic ? "1-e^(-" + FormulaNumber(same.Rate()) + ")"
                             : "e^(" + FormulaNumber(same.Rate()) + ")-1") +
                 "=" + FormulaNumber(step);
    else
        steps += "&String(\"" + TrW("CheckPage", ", подгонка не определена") + "\")";
    formula(steps);
    for (std::size_t w = 0; w < check.Warnings.size(); ++w)
        text(Tr("CheckPage", "Внимание! ") + check.Warnings[w], w == 0 ? 8 : 0);
}

// Reals as the other dump records write them: the shortest text that reads back exactly.
std::string Real(double v) {
    return ShortestText(v);
}

} // namespace

TCheckPage ComputeCheckPage(const TRunResult &run) {
    TCheckPage page;
    for (int i = 0; i < 2; ++i) {
        const TPopulationRun &p = run.Population[i];
        TPopulationCheck &check = page.Population[i];
        check.Fit = FitPopulation(p.Counts);
        check.ProgramLogistic = p.Logistic;
        check.ProgramK = p.K;
        check.Agrees = FitAgrees(check.Fit, p.Logistic);
        check.Warnings = Warnings(p, run.Capacity);
        PageLines(check, p, i + 1);
        ChartSeries(check, p);
    }
    return page;
}

void ApplyCheckPage(const TCheckPage &page, TResultsTarget &target) {
    target.SetFormulaFontSize(FormulaSize);
    for (int i = 0; i < 2; ++i) {
        TImageArea &area = target.Image(10 + i);
        // Painted with the gaps between the blocks; when the lines would then run past the
        // bottom, painted again without them, then smaller (not below 75 %).
        for (const auto &[gaps, points] : {std::pair{true, FormulaSize},
                                           {false, FormulaSize},
                                           {false, FormulaSize - 1},
                                           {false, FormulaSize - 2}}) {
            target.SetFormulaFontSize(points);
            area.Clear();
            area.SelectTextFont(TextFace, points, false, RussianCharset);
            int64_t y = 10;
            for (const TCheckLine &line : page.Population[i].Lines) {
                if (gaps) y += line.GapBefore;
                const int32_t at = Sat32(y);
                y += line.Formula ? area.DrawFormula(line.Text, 15, at, false)
                                  : (area.TextOutUtf8(10, at, line.Text), area.TextHeightOf("X"));
            }
            if (y <= area.Height()) break;
        }
    }
    for (int i = 0; i < 2; ++i) {
        for (int s = 0; s < CheckSeriesCount; ++s) {
            TChartSeries &series = target.Series(13 + i, s);
            series.Clear();
            for (const TChartPoint &p : page.Population[i].Series[s])
                series.AddXY(p.X, p.Y);
        }
    }
}

std::string CheckRecords(const TCheckPage &page) {
    std::string out;
    for (int i = 0; i < 2; ++i) {
        const TPopulationCheck &check = page.Population[i];
        const std::string population = std::to_string(i + 1) + " ";
        auto value = [](bool given, double v) { return given ? Real(v) : std::string("_"); };
        for (const TModelFit &f : check.Fit.Models) {
            const bool d = f.Determined(), s = d && f.Model != TFitModel::Exponential;
            out += "fit " + population + RecordName(f.Model) + " " +
                   (f.Status == TFitStatus::Ok      ? "ok"
                    : f.Status == TFitStatus::Exact ? "exact"
                                                    : "undetermined") +
                   " " + value(d, f.A()) + " " + value(d, f.Rate()) + " " + value(s, f.S()) + " " +
                   value(d, f.Rss) + " " + value(f.HasAicc, f.Aicc) + "\n";
        }
        for (const TModelFit &f : check.Fit.Models) {
            const bool d = f.Determined(), s = d && f.Model != TFitModel::Exponential;
            out += "se " + population + RecordName(f.Model) + " " +
                   value(d, f.Parameters[FitA].StdError) + " " +
                   value(d, f.Parameters[FitRate].StdError) + " " +
                   value(s, f.Parameters[FitS].StdError) + "\n";
        }
        out += "choice " + population +
               (check.Fit.HasPreferred() ? RecordName(check.Fit.Preferred()) : "_") + " " +
               (check.Agrees ? "1" : "0") + "\n";
        for (const std::string &warning : check.Warnings)
            out += "warning " + population + QuotedRecord(warning) + "\n";
    }
    return out;
}

std::string FitModelHeading(TFitModel model) {
    return ModelTitle(model);
}
