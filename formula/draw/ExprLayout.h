// Helpers of the node implementations: measurements of optional children and points, widened
// to 64 bits so that sums of huge sizes cannot overflow and clamped where they are stored.
#pragma once

#include "formula/draw/ExprClass.h"
#include "runtime/NumText.h"

namespace ExprLayout {

inline int64_t W(TExprClass *n) {
    return n ? n->Width() : 0;
}
inline int64_t H(TExprClass *n) {
    return n ? n->Height() : 0;
}
inline int64_t Up(TExprClass *n) {
    return n ? n->MidLineUp() : 0;
}
inline int64_t Dn(TExprClass *n) {
    return n ? n->MidLineDn() : 0;
}
inline TPoint Pt(int64_t x, int64_t y) {
    return {Sat32(x), Sat32(y)};
}

} // namespace ExprLayout
