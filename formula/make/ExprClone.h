// Deep copies of node trees built by the parser.
#pragma once

#include "formula/draw/ExprClass.h"

#include <cstddef>

// A copy of node, its children and the siblings that follow it, with the same classes, texts,
// values, counts and bracket kinds. Fonts, colours and surfaces are not copied: the copy is
// prepared like a freshly parsed tree. Empty for an empty node.
PExpr CloneExpr(const TExprClass *node);

// The number of nodes in node, its children and its following siblings, counted up to limit
// (the result is then limit).
std::size_t CountExpr(const TExprClass *node, std::size_t limit);
