// The parser's messages and its error type.
#include "formula/make/ExprMake.h"

#include "runtime/Cp1251.h"
#include "runtime/Language.h"
#include "runtime/NumText.h"

// Russian, the texts' own language, is made once; a translation is made at each call (on the
// parser's paths a message is passed before it is known to be raised).
#define ZELVANO_MESSAGE(name, text)                                                                \
    const std::string &ExprMessages::name() {                                                      \
        static const std::string russian = Win1251(text);                                          \
        if (TextLanguage() == TLanguage::Russian) return russian;                                  \
        thread_local std::string translated;                                                       \
        translated = Win1251(Tr("ExprMessages", text));                                            \
        return translated;                                                                         \
    }

ZELVANO_MESSAGE(InvalidChar, TR_NOOP("ExprMessages", "Недопустимый символ в позиции "))
ZELVANO_MESSAGE(ExpectRound, TR_NOOP("ExprMessages", "Ожидается \")\" в позиции "))
ZELVANO_MESSAGE(ExpectSquare, TR_NOOP("ExprMessages", "Ожидается \"]\" в позиции "))
ZELVANO_MESSAGE(ExpectCurly, TR_NOOP("ExprMessages", "Ожидается \"}\" в позиции "))
ZELVANO_MESSAGE(ExpectBar, TR_NOOP("ExprMessages", "Ожидается \"|\" в позиции "))
ZELVANO_MESSAGE(ExpectDigit, TR_NOOP("ExprMessages", "Ожидается цифра в позиции "))
ZELVANO_MESSAGE(ExpectComma, TR_NOOP("ExprMessages", "Ожидается \",\" в позиции "))
ZELVANO_MESSAGE(ExpectNumber, TR_NOOP("ExprMessages", "Ожидается число в позиции "))
ZELVANO_MESSAGE(ExpectOpening,
                TR_NOOP("ExprMessages", "Ожидается знак открывающей скобки в позиции "))
ZELVANO_MESSAGE(ExpectClosing,
                TR_NOOP("ExprMessages", "Ожидается знак закрывающей скобки в позиции "))
ZELVANO_MESSAGE(UnterminatedString, TR_NOOP("ExprMessages", "Незавершённая строка"))
ZELVANO_MESSAGE(TooDeep, TR_NOOP("ExprMessages", "Слишком глубокая вложенность в позиции "))
ZELVANO_MESSAGE(TooLarge, TR_NOOP("ExprMessages", "Формула слишком велика"))
ZELVANO_MESSAGE(TooLongNumber, TR_NOOP("ExprMessages", "Число длиннее 255 знаков в позиции "))
ZELVANO_MESSAGE(OutOfRange, TR_NOOP("ExprMessages", "Число вне допустимого диапазона в позиции "))
#undef ZELVANO_MESSAGE

EIncorrectExpr::EIncorrectExpr(std::string text, int32_t position)
    : FText(std::move(text)), FPosition(position) {
    FMessage = FText;
    if (FPosition > 0) FMessage += IntToStr(FPosition);
    FUtf8 = Cp1251ToUtf8(FMessage);
}
