#include "formula/export/SpeechTexts.h"

#include <array>
#include <stdexcept>

namespace {

using enum TSpeechId;

// In the order of TSpeechId, which the compiler checks.
constexpr TSpeechPhrase Phrases[] = {
    {Fraction, "fraction", "дробь, в числителе %1, в знаменателе %2"},
    {FractionShort, "fraction.short", "%1 делить на %2"},
    {FractionEnd, "fraction.end", "конец дроби"},
    {SquareRoot, "root.square", "корень из %1"},
    {CubeRoot, "root.cube", "кубический корень из %1"},
    {NthRoot, "root.nth", "корень степени %1 из %2"},
    {RootEnd, "root.end", "конец корня"},
    {Subscript, "subscript", "%1 с индексом %2"},
    {Squared, "power.squared", "%1 в квадрате"},
    {Cubed, "power.cubed", "%1 в кубе"},
    {Power, "power", "%1 в степени %2"},
    {PowerEnd, "power.end", "конец степени"},
    {Prime, "prime", "%1 штрих"},
    {Primes, "primes", "%1 %n штрих|%1 %n штриха|%1 %n штрихов"},
    {Dot, "accent.dot", "%1 с точкой"},
    {TwoDots, "accent.dots2", "%1 с двумя точками"},
    {Dots, "accent.dots", "%1 с %n точкой|%1 с %n точками|%1 с %n точками"},
    {Vector, "accent.vector", "вектор %1"},
    {Hat, "accent.hat", "%1 с крышкой"},
    {Tilde, "accent.tilde", "%1 с тильдой"},
    {Overline, "accent.bar", "%1 с чертой"},
    {Function, "function", "%1 от %2"},
    {NamedFunction, "function.named", "%1 %2"},
    {LogBase, "function.logbase", "логарифм по основанию %1"},
    {Limit, "limit", "предел при %1"},
    {AtValue, "atvalue", "%1 при %2"},
    {Sum, "operator.sum", "сумма"},
    {Product, "operator.product", "произведение"},
    {ContourIntegral, "operator.contour", "контурный интеграл"},
    {Integral, "operator.integral", "интеграл"},
    {DoubleIntegral, "operator.integral2", "двойной интеграл"},
    {TripleIntegral, "operator.integral3", "тройной интеграл"},
    {MultipleIntegral, "operator.integraln", "%n-кратный интеграл"},
    {ManyIntegral, "operator.integralmany", "многократный интеграл"},
    {OperatorFromTo, "operator.fromto", "%1 от %2 до %3, %4"},
    {OperatorFrom, "operator.from", "%1 по %2, %3"},
    {OperatorTo, "operator.to", "%1 до %2, %3"},
    {OperatorPlain, "operator.plain", "%1 %2"},
    {SumEnd, "operator.sum.end", "конец суммы"},
    {ProductEnd, "operator.product.end", "конец произведения"},
    {IntegralEnd, "operator.integral.end", "конец интеграла"},
    {OpenRound, "bracket.round.open", "скобка открывается"},
    {CloseRound, "bracket.round.close", "скобка закрывается"},
    {OpenSquare, "bracket.square.open", "квадратная скобка открывается"},
    {CloseSquare, "bracket.square.close", "квадратная скобка закрывается"},
    {OpenCurly, "bracket.curly.open", "фигурная скобка открывается"},
    {CloseCurly, "bracket.curly.close", "фигурная скобка закрывается"},
    {Bar, "bracket.bar", "вертикальная черта"},
    {Abs, "abs", "модуль %1"},
    {AbsEnd, "abs.end", "конец модуля"},
    {System, "system", "система: %1"},
    {SystemEnd, "system.end", "конец системы"},
    {Cases, "cases", "по случаям: %1"},
    {CaseLine, "cases.line", "%1, если %2"},
    {CasesEnd, "cases.end", "конец случаев"},
    {Matrix, "matrix", "матрица %1 на %2: %3"},
    {MatrixRow, "matrix.row", "строка %1: %2"},
    {MatrixEnd, "matrix.end", "конец матрицы"},
    {TenPower, "number.tenpower", "%1 умножить на 10 в степени %2"},
    {TenPowerOnly, "number.tenpoweronly", "10 в степени %1"},
    {Factorial, "factorial", "факториал"},
    {Plus, "sign.plus", "плюс"},
    {Minus, "sign.minus", "минус"},
    {PlusMinus, "sign.plusminus", "плюс-минус"},
    {MinusPlus, "sign.minusplus", "минус-плюс"},
    {Times, "sign.times", "умножить на"},
    {Divide, "sign.divide", "разделить на"},
    {Slash, "sign.slash", "делить на"},
    {Equals, "sign.equals", "равно"},
    {NotEqual, "sign.notequal", "не равно"},
    {Less, "sign.less", "меньше"},
    {Greater, "sign.greater", "больше"},
    {LessEqual, "sign.lessequal", "меньше или равно"},
    {GreaterEqual, "sign.greaterequal", "больше или равно"},
    {MuchLess, "sign.muchless", "много меньше"},
    {MuchGreater, "sign.muchgreater", "много больше"},
    {LessSimilar, "sign.lesssimilar", "меньше или порядка"},
    {GreaterSimilar, "sign.greatersimilar", "больше или порядка"},
    {Similar, "sign.similar", "подобно"},
    {AlmostEqual, "sign.almostequal", "приблизительно равно"},
    {Identical, "sign.identical", "тождественно равно"},
    {Asymptotic, "sign.asymptotic", "асимптотически равно"},
    {TendsTo, "sign.tendsto", "стремится к"},
    {Element, "sign.element", "принадлежит"},
    {NotElement, "sign.notelement", "не принадлежит"},
    {Parallel, "sign.parallel", "параллельно"},
    {Perpendicular, "sign.perpendicular", "перпендикулярно"},
    {Angle, "sign.angle", "угол"},
    {Infinity, "symbol.infinity", "бесконечность"},
    {Partial, "symbol.partial", "дэ круглое"},
    {Ellipsis, "symbol.ellipsis", "многоточие"},
    {Planck, "symbol.planck", "аш с чертой"},
    {Nabla, "symbol.nabla", "набла"},
    {Asterisk, "symbol.asterisk", "звёздочка"},
    {LambdaBar, "symbol.lambdabar", "лямбда с чертой"},
    {Capital, "symbol.capital", "большая %1"},
    {Sin, "name.sin", "синус"},
    {Cos, "name.cos", "косинус"},
    {Tan, "name.tan", "тангенс"},
    {Cot, "name.cot", "котангенс"},
    {Sec, "name.sec", "секанс"},
    {Csc, "name.csc", "косеканс"},
    {ArcSin, "name.arcsin", "арксинус"},
    {ArcCos, "name.arccos", "арккосинус"},
    {ArcTan, "name.arctan", "арктангенс"},
    {ArcCot, "name.arccot", "арккотангенс"},
    {Sinh, "name.sinh", "гиперболический синус"},
    {Cosh, "name.cosh", "гиперболический косинус"},
    {Tanh, "name.tanh", "гиперболический тангенс"},
    {Coth, "name.coth", "гиперболический котангенс"},
    {Ln, "name.ln", "натуральный логарифм"},
    {Lg, "name.lg", "десятичный логарифм"},
    {Log, "name.log", "логарифм"},
    {Exp, "name.exp", "экспонента"},
    {Max, "name.max", "максимум"},
    {Min, "name.min", "минимум"},
    {Alpha, "greek.alpha", "альфа"},
    {Beta, "greek.beta", "бета"},
    {Gamma, "greek.gamma", "гамма"},
    {Delta, "greek.delta", "дельта"},
    {Epsilon, "greek.epsilon", "эпсилон"},
    {Zeta, "greek.zeta", "дзета"},
    {Eta, "greek.eta", "эта"},
    {Theta, "greek.theta", "тета"},
    {Iota, "greek.iota", "йота"},
    {Kappa, "greek.kappa", "каппа"},
    {Lambda, "greek.lambda", "лямбда"},
    {Mu, "greek.mu", "мю"},
    {Nu, "greek.nu", "ню"},
    {Xi, "greek.xi", "кси"},
    {Omicron, "greek.omicron", "омикрон"},
    {Pi, "greek.pi", "пи"},
    {Rho, "greek.rho", "ро"},
    {Sigma, "greek.sigma", "сигма"},
    {Tau, "greek.tau", "тау"},
    {Upsilon, "greek.upsilon", "ипсилон"},
    {Phi, "greek.phi", "фи"},
    {Chi, "greek.chi", "хи"},
    {Psi, "greek.psi", "пси"},
    {Omega, "greek.omega", "омега"},
};
static_assert(std::size(Phrases) == SpeechIdCount, "one phrase per identifier");

constexpr bool InOrder() {
    for (int k = 0; k < SpeechIdCount; ++k)
        if (static_cast<int>(Phrases[k].Id) != k) return false;
    return true;
}
static_assert(InOrder(), "the phrases are in the order of TSpeechId");

class TRussianSpeech final : public TSpeechTexts {
public:
    std::string Text(TSpeechId id, long long n) const override {
        std::string form = RussianPlural(SpeechPhrase(id).Russian, n);
        for (std::size_t k = form.find("%n"); k != std::string::npos; k = form.find("%n", k)) {
            const std::string count = std::to_string(n);
            form.replace(k, 2, count);
            k += count.size();
        }
        return form;
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
