// The parser's messages and its error type.
#include "formula/make/ExprMake.h"

#include "runtime/Cp1251.h"
#include "runtime/NumText.h"

#define ZELVANO_MESSAGE(name, text)                                                                \
    const std::string &ExprMessages::name() {                                                      \
        static const std::string s = Win1251(text);                                                \
        return s;                                                                                  \
    }

ZELVANO_MESSAGE(InvalidChar, "Недопустимый символ в позиции ")
ZELVANO_MESSAGE(ExpectRound, "Ожидается \")\" в позиции ")
ZELVANO_MESSAGE(ExpectSquare, "Ожидается \"]\" в позиции ")
ZELVANO_MESSAGE(ExpectCurly, "Ожидается \"}\" в позиции ")
ZELVANO_MESSAGE(ExpectBar, "Ожидается \"|\" в позиции ")
ZELVANO_MESSAGE(ExpectDigit, "Ожидается цифра в позиции ")
ZELVANO_MESSAGE(ExpectComma, "Ожидается \",\" в позиции ")
ZELVANO_MESSAGE(ExpectNumber, "Ожидается число в позиции ")
ZELVANO_MESSAGE(ExpectOpening, "Ожидается знак открывающей скобки в позиции ")
ZELVANO_MESSAGE(ExpectClosing, "Ожидается знак закрывающей скобки в позиции ")
ZELVANO_MESSAGE(UnterminatedString, "Незавершённая строка")
ZELVANO_MESSAGE(TooDeep, "Слишком глубокая вложенность в позиции ")
ZELVANO_MESSAGE(TooLarge, "Формула слишком велика")
ZELVANO_MESSAGE(TooLongNumber, "Число длиннее 255 знаков в позиции ")
ZELVANO_MESSAGE(OutOfRange, "Число вне допустимого диапазона в позиции ")
#undef ZELVANO_MESSAGE

EIncorrectExpr::EIncorrectExpr(std::string text, int32_t position)
    : FText(std::move(text)), FPosition(position) {
    FMessage = FText;
    if (FPosition > 0) FMessage += IntToStr(FPosition);
    FUtf8 = Cp1251ToUtf8(FMessage);
}
