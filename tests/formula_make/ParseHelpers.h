// Parsing a UTF-8 formula text for tests: the tree dump of the result, or the error message.
#pragma once

#include "formula/make/ExprDump.h"
#include "formula/make/ExprMake.h"
#include "runtime/Cp1251.h"

#include <string>
#include <string_view>

inline std::string Cp(std::string_view utf8) {
    std::string out;
    Utf8ToCp1251(utf8, out);
    return out;
}

// The dump of the tree, or "error: " and the message.
inline std::string Tree(std::string_view utf8) {
    try {
        TExprBuilder b;
        PExpr e = b.BuildExpr(Cp(utf8));
        return DumpExpr(e.get());
    } catch (const EIncorrectExpr &e) {
        return std::string("error: ") + e.what();
    }
}

// The error message of a text that must fail, or "parsed: " and the dump.
inline std::string Error(std::string_view utf8) {
    try {
        TExprBuilder b;
        PExpr e = b.BuildExpr(Cp(utf8));
        return "parsed: " + DumpExpr(e.get());
    } catch (const EIncorrectExpr &e) {
        return e.what();
    }
}
