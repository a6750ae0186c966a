#include "analysis/Texts.h"

#include "runtime/Cp1251.h"

std::string Win1251(std::string_view utf8) {
    std::string out;
    Utf8ToCp1251(utf8, out);
    return out;
}
