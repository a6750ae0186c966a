#include "analysis/RunCsv.h"

#include "analysis/CheckPage.h"
#include "analysis/Texts.h"
#include "runtime/NumText.h"

namespace {

// The decimal separator and the exponent letter upper case, as a spreadsheet of the language
// reads them.
std::string Localized(std::string text) {
    for (char &c : text) {
        if (c == '.') c = DecimalSeparator();
        if (c == 'e') c = 'E';
    }
    return text;
}

// Fields are parted by semicolons where the decimal separator is a comma, else by commas.
char FieldSeparator() {
    return DecimalSeparator() == ',' ? ';' : ',';
}

// A field in double quotes where it holds the field separator or a quote.
std::string Field(std::string_view text) {
    if (text.find(FieldSeparator()) == std::string_view::npos &&
        text.find('"') == std::string_view::npos)
        return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

std::string Computed(double v) {
    return Localized(ShortestText(v));
}

std::string Shown(double v) {
    return Localized(FormulaNumber(v));
}

class TCsv {
public:
    void Row(int population, std::string_view quantity, const std::string &number,
             const std::string &value, const std::string &shown) {
        const char s = FieldSeparator();
        FText += std::to_string(population) + s + Field(quantity) + s + number + s + Field(value) +
                 s + Field(shown) + "\r\n";
    }
    void Real(int population, std::string_view quantity, int number, double v) {
        Row(population, quantity, IntToStr(number), Computed(v), Shown(v));
    }
    void Integer(int population, std::string_view quantity, const std::string &number, int64_t v) {
        Row(population, quantity, number, IntToStr(v), IntToStr(v));
    }
    std::string Take() { return std::move(FText); }

private:
    // The byte-order mark tells spreadsheet programs the file is UTF-8.
    std::string FText =
        "\xEF\xBB\xBF" + Tr("RunCsv", "Популяция;Величина;Номер;Значение;Как на странице") + "\r\n";
};

// By TFitModel and TFitStatus.
std::string ModelName(TFitModel model) {
    static constexpr const char *Names[] = {TR_NOOP("RunCsv", "экспоненциальная"),
                                            TR_NOOP("RunCsv", "насыщения"),
                                            TR_NOOP("RunCsv", "Ферхюльста")};
    return Tr("RunCsv", Names[static_cast<std::size_t>(model)]);
}

std::string StatusName(TFitStatus status) {
    static constexpr const char *Names[] = {TR_NOOP("RunCsv", "определена"),
                                            TR_NOOP("RunCsv", "точная"),
                                            TR_NOOP("RunCsv", "не определена")};
    return Tr("RunCsv", Names[static_cast<std::size_t>(status)]);
}

// The least-squares check: per model its status, the parameters with their standard errors,
// RSS, AICc and weight where they exist; then the preferred model and the agreement.
void FitRows(TCsv &csv, int n, const TPopulationCheck &check) {
    auto real = [&](const std::string &quantity, double v) {
        csv.Row(n, quantity, "", Computed(v), Shown(v));
    };
    for (const TModelFit &fit : check.Fit.Models) {
        const std::string model = Tr("RunCsv", "МНК, ") + ModelName(fit.Model) + ": ";
        const std::string status = StatusName(fit.Status);
        csv.Row(n, model + Tr("RunCsv", "статус"), "", status, status);
        if (!fit.Determined()) continue;
        const char *rate = fit.Model == TFitModel::Saturation ? "k" : "r";
        const char *names[] = {"A", rate, "S"};
        for (int i = 0; i < fit.ParameterCount; ++i) {
            const TFitParameter &parameter = fit.Parameters[static_cast<size_t>(i)];
            real(model + names[i], parameter.Value);
            real(model + Tr("RunCsv", "ст. ошибка ") + names[i], parameter.StdError);
        }
        real(model + "RSS", fit.Rss);
        if (fit.HasAicc) real(model + "AICc", fit.Aicc);
        if (fit.HasWeight) real(model + Tr("RunCsv", "вес"), fit.Weight);
    }
    if (check.Fit.HasPreferred()) {
        const std::string preferred = ModelName(check.Fit.Preferred());
        csv.Row(n, Tr("RunCsv", "МНК: лучшая модель"), "", preferred, preferred);
        const std::string agrees = check.Agrees ? Tr("RunCsv", "да") : Tr("RunCsv", "нет");
        csv.Row(n, Tr("RunCsv", "МНК: согласна с программой"), "", agrees, agrees);
    }
}

} // namespace

std::string RunTablesCsv(const TRunResult &run) {
    TCsv csv;
    for (int i = 0; i < 2; ++i) {
        const TPopulationRun &p = run.Population[static_cast<size_t>(i)];
        const int n = i + 1;
        for (int m = 1; m <= 10; ++m)
            csv.Integer(n, Tr("RunCsv", "Численность за месяц"), IntToStr(m),
                        p.Counts[static_cast<size_t>(m - 1)]);
        const std::string model =
            p.Logistic ? Tr("RunCsv", "логистическая") : Tr("RunCsv", "экспоненциальная");
        csv.Row(n, Tr("RunCsv", "Модель"), "", model, model);
        if (p.Logistic) csv.Integer(n, "S", "", run.Capacity);
        // Numbered by the first month of the interval, as k(i,i+1) on the page.
        for (int k = 1; k <= 9; ++k)
            csv.Real(n, "k(i,i+1)", k, p.IntervalK[static_cast<size_t>(k - 1)]);
        csv.Row(n, "k", "", Computed(p.K), Shown(p.K));
        // The numbers of the pages' X_n.
        for (int w = 0; w < static_cast<int>(p.Week.size()); ++w)
            csv.Real(n, Tr("RunCsv", "Понедельный рост"), w, p.Week[static_cast<size_t>(w)]);
        for (int m = 0; m < static_cast<int>(p.TwoYears.size()); ++m)
            csv.Real(n, Tr("RunCsv", "За два года"), m, p.TwoYears[static_cast<size_t>(m)]);
        for (int m = 0; m < static_cast<int>(p.ThreeYears.size()); ++m)
            csv.Real(n, Tr("RunCsv", "За три года"), m + 1, p.ThreeYears[static_cast<size_t>(m)]);
    }
    if (run.Check) {
        for (int i = 0; i < 2; ++i)
            FitRows(csv, i + 1, run.Check->Population[static_cast<size_t>(i)]);
    }
    return csv.Take();
}
