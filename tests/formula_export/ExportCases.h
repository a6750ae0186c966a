// One formula per construct of the formula language, with the LaTeX and the MathML (what stands
// inside <math>) it must export to. The corpus test also gives every LaTeX here to KaTeX. In the
// MathML, <open>(</open> and <close>)</close> stand for the stretchy fences and <large>∑</large>
// for a big operator sign (ExpandedMathML).
#pragma once

#include <string>
#include <string_view>
#include <utility>

struct TExportCase {
    const char *Formula; // UTF-8
    const char *Latex;
    const char *MathML;
};

inline constexpr TExportCase ExportCases[] = {
    // Fractions, roots, scripts.
    {"a/b", R"(\frac{a}{b})", "<mfrac><mi>a</mi><mi>b</mi></mfrac>"},
    {"Sqrt(x+1)", R"(\sqrt{x+1})", "<msqrt><mrow><mi>x</mi><mo>+</mo><mn>1</mn></mrow></msqrt>"},
    {"Root(n,x)", R"(\sqrt[n]{x})", "<mroot><mi>x</mi><mi>n</mi></mroot>"},
    {"X_(i+1)^2", R"(X_{i+1}^{2})",
     "<msubsup><mi>X</mi><mrow><mi>i</mi><mo>+</mo><mn>1</mn></mrow><mn>2</mn></msubsup>"},
    {"x^2^3", R"(x^{2^{3}})", "<msup><mi>x</mi><msup><mn>2</mn><mn>3</mn></msup></msup>"},
    {"Strokes(f,2)", R"(f^{\prime\prime})", "<msup><mi>f</mi><mo>′′</mo></msup>"},
    // Every bracket kind: always drawn, growing, hidden and shown arguments, one-sided.
    {"!(x)", "(x)", "<mrow><open>(</open><mi>x</mi><close>)</close></mrow>"},
    {"!(a/b)", R"(\left(\frac{a}{b}\right))",
     "<mrow><open>(</open><mfrac><mi>a</mi><mi>b</mi></mfrac><close>)</close></mrow>"},
    {"sin(x)", R"(\sin x)", "<mrow><mi>sin</mi><mo>&#x2061;</mo><mi>x</mi></mrow>"},
    {"sin(x+1)", R"(\sin(x+1))",
     "<mrow><mi>sin</mi><mo>&#x2061;</mo><mrow><open>(</open><mi>x</mi><mo>+</mo><mn>1</"
     "mn><close>)</close></mrow></mrow>"},
    {"f(x)", "f(x)",
     "<mrow><mi>f</mi><mo>&#x2061;</mo><mrow><open>(</open><mi>x</mi><close>)</close></mrow></"
     "mrow>"},
    {"Sqr(a+b)", "(a+b)^{2}",
     "<msup><mrow><open>(</open><mi>a</mi><mo>+</mo><mi>b</mi><close>)</close></mrow><mn>2</mn></"
     "msup>"},
    {"[a]+{b}+|c|", R"([a]+\{b\}+\lvert c\rvert)",
     "<mrow><open>[</open><mi>a</mi><close>]</close></mrow><mo>+</mo><mrow><open>{</open><mi>b</"
     "mi><close>}</close></mrow><mo>+</mo><mrow><open>|</open><mi>c</mi><close>|</close></mrow>"},
    {"Brackets([),y)+Brackets(0|,x)", R"([y)+x\rvert)",
     "<mrow><open>[</open><mi>y</mi><close>)</close></mrow><mo>+</mo><mrow><mi>x</mi><close>|</"
     "close></mrow>"},
    {"System(x=1,y=2)", R"(\left\{\begin{array}{l}x=1\\y=2\end{array}\right.)",
     "<mrow><open>{</open><mtable "
     "columnalign=\"left\"><mtr><mtd><mrow><mi>x</mi><mo>=</mo><mn>1</mn></mrow></mtd></"
     "mtr><mtr><mtd><mrow><mi>y</mi><mo>=</mo><mn>2</mn></mrow></mtd></mtr></mtable></mrow>"},
    // Big operators with their bounds, limits, the value-at bar.
    {"Summa(k_i,i=1,n)", R"(\sum\limits_{i=1}^{n}k_{i})",
     "<mrow><munderover><large>∑</large><mrow><mi>i</mi><mo>=</mo><mn>1</mn></mrow><mi>n</mi></"
     "munderover><msub><mi>k</mi><mi>i</mi></msub></mrow>"},
    {"Prod(k,k=1)", R"(\prod\limits_{k=1}k)",
     "<mrow><munder><large>∏</large><mrow><mi>k</mi><mo>=</mo><mn>1</mn></mrow></munder><mi>k</"
     "mi></mrow>"},
    {"Int(f,0,1)+Circ(F)", R"(\int\limits_{0}^{1}f+\oint F)",
     "<mrow><munderover><large>∫</large><mn>0</mn><mn>1</mn></munderover><mi>f</mi></mrow><mo>+</"
     "mo><mrow><large>∮</large><mi>F</mi></mrow>"},
    {"Intm(3,f)+Intm(0,g)", R"(\iiint f+\mathop{\int\int\cdots\int}g)",
     "<mrow><large>∭</large><mi>f</mi></mrow><mo>+</mo><mrow><large>∫∫⋯∫</large><mi>g</mi></mrow>"},
    {"Lim(x->0,f)", R"(\lim\limits_{x\to0}f)",
     "<mrow><munder><mo "
     "movablelimits=\"false\">lim</mo><mrow><mi>x</mi><mo>→</mo><mn>0</mn></mrow></"
     "munder><mo>&#x2061;</mo><mi>f</mi></mrow>"},
    {"At(f,x=0)", R"(\left.f\right|_{x=0})",
     "<msub><mrow><mi>f</mi><close>|</close></mrow><mrow><mi>x</mi><mo>=</mo><mn>0</mn></mrow></"
     "msub>"},
    // Matrices and case distinctions.
    {"Matrix(2,2,a,b,c)", R"(\begin{array}{cc}a&b\\c\end{array})",
     "<mtable><mtr><mtd><mi>a</mi></mtd><mtd><mi>b</mi></mtd></mtr><mtr><mtd><mi>c</mi></mtd></"
     "mtr></mtable>"},
    {"Case(x,x>0,-x,x<=0)", R"(\begin{cases}x&x>0\\-x&x\le0\end{cases})",
     "<mrow><open>{</open><mtable columnalign=\"left "
     "right\"><mtr><mtd><mi>x</mi></mtd><mtd><mrow><mi>x</mi><mo>&gt;</mo><mn>0</mn></mrow></mtd></"
     "mtr><mtr><mtd><mrow><mo>−</mo><mi>x</mi></mrow></mtd><mtd><mrow><mi>x</mi><mo>≤</mo><mn>0</"
     "mn></mrow></mtd></mtr></mtable></mrow>"},
    // Accents.
    {"Vect(a_i)+Vect(a+b)", R"(\vec{a}_{i}+\overrightarrow{a+b})",
     "<msub><mover accent=\"true\"><mi>a</mi><mo "
     "stretchy=\"true\">→</mo></mover><mi>i</mi></msub><mo>+</mo><mover "
     "accent=\"true\"><mrow><mi>a</mi><mo>+</mo><mi>b</mi></mrow><mo "
     "stretchy=\"true\">→</mo></mover>"},
    {"Cap(b)+Tilde(c)+Line(d)", R"(\hat{b}+\tilde{c}+\overline{d})",
     "<mover accent=\"true\"><mi>b</mi><mo stretchy=\"false\">^</mo></mover><mo>+</mo><mover "
     "accent=\"true\"><mi>c</mi><mo stretchy=\"false\">~</mo></mover><mo>+</mo><mover "
     "accent=\"true\"><mi>d</mi><mo stretchy=\"true\">¯</mo></mover>"},
    {"Points(x,2)+Points(y,3)", R"(\ddot{x}+\overset{\cdot\cdot\cdot}{y})",
     "<mover accent=\"true\"><mi>x</mi><mo stretchy=\"false\">¨</mo></mover><mo>+</mo><mover "
     "accent=\"true\"><mi>y</mi><mo stretchy=\"false\">˙˙˙</mo></mover>"},
    // Greek letters and special symbols.
    {"alpha+Omega+Alpha", R"(\alpha+\Omega+\mathrm{A})",
     "<mi mathvariant=\"normal\">α</mi><mo>+</mo><mi mathvariant=\"normal\">Ω</mi><mo>+</mo><mi "
     "mathvariant=\"normal\">Α</mi>"},
    {"Plank+Nabla+Plambda+Inf+Asterix+...", R"(\hbar+\nabla+\bar{\lambda}+\infty+\ast+\ldots)",
     "<mi>ħ</mi><mo>+</mo><mo>∇</mo><mo>+</mo><mi mathvariant=\"normal\">ƛ</mi><mo>+</mo><mi "
     "mathvariant=\"normal\">∞</mi><mo>+</mo><mo>∗</mo><mo>+</mo><mi "
     "mathvariant=\"normal\">…</mi>"},
    {"a<=b->c<~d=~e", R"(a\le b\to c\lesssim d\simeq e)",
     "<mi>a</mi><mo>≤</mo><mi>b</mi><mo>→</mo><mi>c</mi><mo>≲</mo><mi>d</mi><mo>≃</mo><mi>e</mi>"},
    {"+-x&Symbol(8712)&Parallel", R"(\pm x\in\parallel)",
     "<mo>±</mo><mi>x</mi><mo>∈</mo><mo>∥</mo>"},
    // Multiplication signs as drawn, juxtaposition.
    {"a*.b*+c/+d//e", R"(a\cdot b\times c\div d/e)",
     "<mi>a</mi><mo>·</mo><mi>b</mi><mo>×</mo><mi>c</mi><mo>÷</mo><mi>d</mi><mo>/</mo><mi>e</mi>"},
    {"2*x*diff(x)", R"(2x\mkern6mu dx)",
     "<mn>2</mn><mi>x</mi><mspace width=\"0.308em\"/><mi>d</mi><mi>x</mi>"},
    // Numbers as the picture shows them: decimal comma, powers of ten.
    {"0.5+#1500+Num(0.00012)", R"(0{,}5+1{,}5\cdot 10^{3}+1{,}2\cdot 10^{-4})",
     "<mn>0,5</mn><mo>+</mo><mrow><mn>1,5</mn><mo>·</mo><msup><mn>10</mn><mn>3</mn></msup></"
     "mrow><mo>+</mo><mrow><mn>1,2</mn><mo>·</mo><msup><mn>10</mn><mrow><mo>−</mo><mn>4</mn></"
     "mrow></msup></mrow>"},
    // Names, function names, texts, lists.
    {"Log(2,x)+ctg(y)+Ж", R"(\operatorname{Log}_{2}x+\operatorname{ctg}y+\text{Ж})",
     "<mrow><msub><mi>Log</mi><mn>2</mn></msub><mo>&#x2061;</mo><mi>x</mi></mrow><mo>+</"
     "mo><mrow><mi>ctg</mi><mo>&#x2061;</mo><mi>y</mi></mrow><mo>+</mo><mtext>Ж</mtext>"},
    {"x!&Space(8)&String(\" - <общая> & 100 %;\")",
     R"(x!\mkern11mu \text{ - \textless{}общая\textgreater{} \& 100 \%;})",
     "<mi>x</mi><mo>!</mo><mspace width=\"0.615em\"/><mtext>\u00A0- &lt;общая&gt; &amp; 100 "
     "%;</mtext>"},
    {"k_(1&String(\",\")&2)=[a,b]", R"(k_{1{,}2}=[a{,}\mkern10mu b])",
     "<msub><mi>k</mi><mrow><mn>1</mn><mo>,</mo><mn>2</mn></mrow></msub><mo>=</mo><mrow><open>[</"
     "open><mi>a</mi><mo separator=\"true\">,</mo><mspace "
     "width=\"0.538em\"/><mi>b</mi><close>]</close></mrow>"},
    // A control character (the picture's missing glyph) stays out of both outputs.
    {"Symbol(3)", "\\text{\uFFFD}", "<mi>\uFFFD</mi>"},
};

// The MathML of a case with its short tags written out.
inline std::string ExpandedMathML(std::string s) {
    const std::pair<const char *, const char *> tags[] = {
        {"<open>", R"(<mo fence="true" stretchy="true" form="prefix">)"},
        {"<close>", R"(<mo fence="true" stretchy="true" form="postfix">)"},
        {"<large>", R"(<mo largeop="true" movablelimits="false">)"},
        {"</open>", "</mo>"},
        {"</close>", "</mo>"},
        {"</large>", "</mo>"}};
    for (const auto &[tag, full] : tags)
        for (std::size_t k = s.find(tag); k != std::string::npos; k = s.find(tag, k))
            s.replace(k, std::string_view(tag).size(), full);
    return s;
}
