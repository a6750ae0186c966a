// The tree dump: one line that names every node of a tree with its attributes and child slots,
// for tools and tests that read the structure the parser built.
//
//   node  = "(" Name { " " attribute } { " " slot } ")"   Name: the class name without "TExpr"
//   slot  = "_" (empty) | "[" node { " " sibling } "]"
// Texts are UTF-8 in double quotes with \" and \\ escaped; numbers are the value as a double in
// the shortest text that reads back exactly.
#pragma once

#include "formula/draw/ExprClass.h"

#include <string>

// The node alone (its siblings are not part of it).
std::string DumpExpr(const TExprClass *node);
// The node and the siblings that follow it, separated by single blanks.
std::string DumpChain(const TExprClass *node);
