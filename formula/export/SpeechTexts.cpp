#include "formula/export/SpeechTexts.h"

#include <array>
#include <stdexcept>

namespace {

using enum TSpeechId;

// In the order of TSpeechId, which the compiler checks.
constexpr TSpeechPhrase Phrases[] = {
    {Fraction, "fraction", "дробь, в числителе %1, в знаменателе %2",
     "the fraction with numerator %1 and denominator %2"},
    {FractionShort, "fraction.short", "%1 делить на %2", "the fraction %1 over %2"},
    {FractionEnd, "fraction.end", "конец дроби", "end of fraction"},
    {SquareRoot, "root.square", "корень из %1", "the square root of %1"},
    {CubeRoot, "root.cube", "кубический корень из %1", "the cube root of %1"},
    {NthRoot, "root.nth", "корень степени %1 из %2", "the root of index %1 of %2"},
    {RootEnd, "root.end", "конец корня", "end of root"},
    {Subscript, "subscript", "%1 с индексом %2", "%1 sub %2"},
    {Squared, "power.squared", "%1 в квадрате", "%1 squared"},
    {Cubed, "power.cubed", "%1 в кубе", "%1 cubed"},
    {Power, "power", "%1 в степени %2", "%1 to the power %2"},
    {PowerEnd, "power.end", "конец степени", "end of power"},
    {Prime, "prime", "%1 штрих", "%1 prime"},
    {Primes, "primes", "%1 %n штрих|%1 %n штриха|%1 %n штрихов",
     "%1 with %n prime|%1 with %n primes"},
    {Dot, "accent.dot", "%1 с точкой", "%1 dot"},
    {TwoDots, "accent.dots2", "%1 с двумя точками", "%1 double dot"},
    {Dots, "accent.dots", "%1 с %n точкой|%1 с %n точками|%1 с %n точками",
     "%1 with %n dot|%1 with %n dots"},
    {Vector, "accent.vector", "вектор %1", "vector %1"},
    {Hat, "accent.hat", "%1 с крышкой", "%1 hat"},
    {Tilde, "accent.tilde", "%1 с тильдой", "%1 tilde"},
    {Overline, "accent.bar", "%1 с чертой", "%1 bar"},
    {Function, "function", "%1 от %2", "%1 of %2"},
    {NamedFunction, "function.named", "%1 %2", "%1 of %2"},
    {LogBase, "function.logbase", "логарифм по основанию %1", "log base %1"},
    {Limit, "limit", "предел при %1", "the limit as %1"},
    {AtValue, "atvalue", "%1 при %2", "%1 at %2"},
    {Sum, "operator.sum", "сумма", "the sum"},
    {Product, "operator.product", "произведение", "the product"},
    {ContourIntegral, "operator.contour", "контурный интеграл", "the contour integral"},
    {Integral, "operator.integral", "интеграл", "the integral"},
    {DoubleIntegral, "operator.integral2", "двойной интеграл", "the double integral"},
    {TripleIntegral, "operator.integral3", "тройной интеграл", "the triple integral"},
    {MultipleIntegral, "operator.integraln", "%n-кратный интеграл", "the %n-fold integral"},
    {ManyIntegral, "operator.integralmany", "многократный интеграл", "the multiple integral"},
    {OperatorFromTo, "operator.fromto", "%1 от %2 до %3, %4", "%1 from %2 to %3 of %4"},
    {OperatorFrom, "operator.from", "%1 по %2, %3", "%1 over %2 of %3"},
    {OperatorTo, "operator.to", "%1 до %2, %3", "%1 up to %2 of %3"},
    {OperatorPlain, "operator.plain", "%1 %2", "%1 of %2"},
    {SumEnd, "operator.sum.end", "конец суммы", "end of sum"},
    {ProductEnd, "operator.product.end", "конец произведения", "end of product"},
    {IntegralEnd, "operator.integral.end", "конец интеграла", "end of integral"},
    {OpenRound, "bracket.round.open", "скобка открывается", "open parenthesis"},
    {CloseRound, "bracket.round.close", "скобка закрывается", "close parenthesis"},
    {OpenSquare, "bracket.square.open", "квадратная скобка открывается", "open bracket"},
    {CloseSquare, "bracket.square.close", "квадратная скобка закрывается", "close bracket"},
    {OpenCurly, "bracket.curly.open", "фигурная скобка открывается", "open brace"},
    {CloseCurly, "bracket.curly.close", "фигурная скобка закрывается", "close brace"},
    {Bar, "bracket.bar", "вертикальная черта", "vertical bar"},
    {Abs, "abs", "модуль %1", "the absolute value of %1"},
    {AbsEnd, "abs.end", "конец модуля", "end of absolute value"},
    {System, "system", "система: %1", "the system: %1"},
    {SystemEnd, "system.end", "конец системы", "end of system"},
    {Cases, "cases", "по случаям: %1", "cases: %1"},
    {CaseLine, "cases.line", "%1, если %2", "%1 if %2"},
    {CasesEnd, "cases.end", "конец случаев", "end of cases"},
    {Matrix, "matrix", "матрица %1 на %2: %3", "the %1 by %2 matrix: %3"},
    {MatrixRow, "matrix.row", "строка %1: %2", "row %1: %2"},
    {MatrixEnd, "matrix.end", "конец матрицы", "end of matrix"},
    {TenPower, "number.tenpower", "%1 умножить на 10 в степени %2", "%1 times 10 to the power %2"},
    {TenPowerOnly, "number.tenpoweronly", "10 в степени %1", "10 to the power %1"},
    {Factorial, "factorial", "факториал", "factorial"},
    {Plus, "sign.plus", "плюс", "plus"},
    {Minus, "sign.minus", "минус", "minus"},
    {PlusMinus, "sign.plusminus", "плюс-минус", "plus or minus"},
    {MinusPlus, "sign.minusplus", "минус-плюс", "minus or plus"},
    {Times, "sign.times", "умножить на", "times"},
    {Divide, "sign.divide", "разделить на", "divided by"},
    {Slash, "sign.slash", "делить на", "over"},
    {Equals, "sign.equals", "равно", "equals"},
    {NotEqual, "sign.notequal", "не равно", "is not equal to"},
    {Less, "sign.less", "меньше", "is less than"},
    {Greater, "sign.greater", "больше", "is greater than"},
    {LessEqual, "sign.lessequal", "меньше или равно", "is less than or equal to"},
    {GreaterEqual, "sign.greaterequal", "больше или равно", "is greater than or equal to"},
    {MuchLess, "sign.muchless", "много меньше", "is much less than"},
    {MuchGreater, "sign.muchgreater", "много больше", "is much greater than"},
    {LessSimilar, "sign.lesssimilar", "меньше или порядка", "is less than or of the order of"},
    {GreaterSimilar, "sign.greatersimilar", "больше или порядка",
     "is greater than or of the order of"},
    {Similar, "sign.similar", "подобно", "is similar to"},
    {AlmostEqual, "sign.almostequal", "приблизительно равно", "is approximately equal to"},
    {Identical, "sign.identical", "тождественно равно", "is identically equal to"},
    {Asymptotic, "sign.asymptotic", "асимптотически равно", "is asymptotically equal to"},
    {TendsTo, "sign.tendsto", "стремится к", "tends to"},
    {Element, "sign.element", "принадлежит", "is an element of"},
    {NotElement, "sign.notelement", "не принадлежит", "is not an element of"},
    {Parallel, "sign.parallel", "параллельно", "is parallel to"},
    {Perpendicular, "sign.perpendicular", "перпендикулярно", "is perpendicular to"},
    {Angle, "sign.angle", "угол", "angle"},
    {Infinity, "symbol.infinity", "бесконечность", "infinity"},
    {Partial, "symbol.partial", "дэ круглое", "partial"},
    {Ellipsis, "symbol.ellipsis", "многоточие", "dot dot dot"},
    {Planck, "symbol.planck", "аш с чертой", "h bar"},
    {Nabla, "symbol.nabla", "набла", "nabla"},
    {Asterisk, "symbol.asterisk", "звёздочка", "star"},
    {LambdaBar, "symbol.lambdabar", "лямбда с чертой", "lambda bar"},
    {Capital, "symbol.capital", "большая %1", "capital %1"},
    {Sin, "name.sin", "синус", "sine"},
    {Cos, "name.cos", "косинус", "cosine"},
    {Tan, "name.tan", "тангенс", "tangent"},
    {Cot, "name.cot", "котангенс", "cotangent"},
    {Sec, "name.sec", "секанс", "secant"},
    {Csc, "name.csc", "косеканс", "cosecant"},
    {ArcSin, "name.arcsin", "арксинус", "arcsine"},
    {ArcCos, "name.arccos", "арккосинус", "arccosine"},
    {ArcTan, "name.arctan", "арктангенс", "arctangent"},
    {ArcCot, "name.arccot", "арккотангенс", "arccotangent"},
    {Sinh, "name.sinh", "гиперболический синус", "hyperbolic sine"},
    {Cosh, "name.cosh", "гиперболический косинус", "hyperbolic cosine"},
    {Tanh, "name.tanh", "гиперболический тангенс", "hyperbolic tangent"},
    {Coth, "name.coth", "гиперболический котангенс", "hyperbolic cotangent"},
    {Ln, "name.ln", "натуральный логарифм", "the natural log"},
    {Lg, "name.lg", "десятичный логарифм", "log base 10"},
    {Log, "name.log", "логарифм", "log"},
    {Exp, "name.exp", "экспонента", "exponential"},
    {Max, "name.max", "максимум", "the maximum"},
    {Min, "name.min", "минимум", "the minimum"},
    {Alpha, "greek.alpha", "альфа", "alpha"},
    {Beta, "greek.beta", "бета", "beta"},
    {Gamma, "greek.gamma", "гамма", "gamma"},
    {Delta, "greek.delta", "дельта", "delta"},
    {Epsilon, "greek.epsilon", "эпсилон", "epsilon"},
    {Zeta, "greek.zeta", "дзета", "zeta"},
    {Eta, "greek.eta", "эта", "eta"},
    {Theta, "greek.theta", "тета", "theta"},
    {Iota, "greek.iota", "йота", "iota"},
    {Kappa, "greek.kappa", "каппа", "kappa"},
    {Lambda, "greek.lambda", "лямбда", "lambda"},
    {Mu, "greek.mu", "мю", "mu"},
    {Nu, "greek.nu", "ню", "nu"},
    {Xi, "greek.xi", "кси", "xi"},
    {Omicron, "greek.omicron", "омикрон", "omicron"},
    {Pi, "greek.pi", "пи", "pi"},
    {Rho, "greek.rho", "ро", "rho"},
    {Sigma, "greek.sigma", "сигма", "sigma"},
    {Tau, "greek.tau", "тау", "tau"},
    {Upsilon, "greek.upsilon", "ипсилон", "upsilon"},
    {Phi, "greek.phi", "фи", "phi"},
    {Chi, "greek.chi", "хи", "chi"},
    {Psi, "greek.psi", "пси", "psi"},
    {Omega, "greek.omega", "омега", "omega"},
};
static_assert(std::size(Phrases) == SpeechIdCount, "one phrase per identifier");

constexpr bool InOrder() {
    for (int k = 0; k < SpeechIdCount; ++k)
        if (static_cast<int>(Phrases[k].Id) != k) return false;
    return true;
}
static_assert(InOrder(), "the phrases are in the order of TSpeechId");

// n in place of every %n of form.
std::string WithCount(std::string form, long long n) {
    const std::string count = std::to_string(n);
    for (std::size_t k = form.find("%n"); k != std::string::npos; k = form.find("%n", k)) {
        form.replace(k, 2, count);
        k += count.size();
    }
    return form;
}

class TRussianSpeech final : public TSpeechTexts {
public:
    std::string Text(TSpeechId id, long long n) const override {
        return WithCount(RussianPlural(SpeechPhrase(id).Russian, n), n);
    }
};

class TEnglishSpeech final : public TSpeechTexts {
public:
    std::string Text(TSpeechId id, long long n) const override {
        return WithCount(EnglishPlural(SpeechPhrase(id).English, n), n);
    }
};

} // namespace

const TSpeechPhrase &SpeechPhrase(TSpeechId id) {
    const auto k = static_cast<std::size_t>(id);
    if (k >= std::size(Phrases)) throw std::out_of_range("no speech phrase for this identifier");
    return Phrases[k];
}

const TSpeechTexts &RussianSpeech() {
    static const TRussianSpeech texts;
    return texts;
}

const TSpeechTexts &EnglishSpeech() {
    static const TEnglishSpeech texts;
    return texts;
}

const TSpeechTexts &SpeechIn(TLanguage language) {
    return language == TLanguage::English ? EnglishSpeech() : RussianSpeech();
}

std::string EnglishPlural(std::string_view forms, long long n) {
    const std::size_t bar = forms.find('|');
    if (bar == std::string_view::npos) return std::string(forms);
    return std::string(n == 1 || n == -1 ? forms.substr(0, bar) : forms.substr(bar + 1));
}

std::string RussianPlural(std::string_view forms, long long n) {
    const std::size_t first = forms.find('|');
    if (first == std::string_view::npos) return std::string(forms);
    const std::size_t second = forms.find('|', first + 1);
    const std::string_view one = forms.substr(0, first);
    const std::string_view few = forms.substr(first + 1, second - first - 1);
    const std::string_view many = second == std::string_view::npos ? few : forms.substr(second + 1);
    const long long a = n < 0 ? -(n % 100) : n % 100;
    if (a / 10 == 1) return std::string(many);
    if (a % 10 == 1) return std::string(one);
    if (a % 10 >= 2 && a % 10 <= 4) return std::string(few);
    return std::string(many);
}

std::string FillSpeech(std::string_view pattern, std::initializer_list<std::string_view> parts) {
    std::string out;
    WalkSpeechPattern(
        pattern, [&](std::string_view s) { out += s; },
        [&](int k) {
            if (static_cast<std::size_t>(k) <= parts.size()) out += parts.begin()[k - 1];
        });
    return out;
}
