// The registry of node kinds: one entry per node class, found by the node's exact type, that
// gives the kind's name (the class name without "TExpr"), a copy of a node with its children,
// and the node's fields and child slots in a fixed order. Deep copies (formula/make/ExprClone.h)
// and the tree dump (formula/make/ExprDump.h) are written on it, so the order of the classes
// does not matter and a class that is not registered fails loudly (std::logic_error) instead of
// passing for its base class. tests/formula_draw/TestExprKinds.cpp checks that every node class
// declared in formula/draw is registered.
#pragma once

#include "formula/draw/ExprClass.h"

#include <string>
#include <typeinfo>
#include <vector>

// What a kind writes of one node: its fields, then its child slots.
class TKindFields {
public:
    virtual ~TKindFields() = default;
    virtual void Int(long long value) = 0;
    // A Windows-1251 text.
    virtual void Text(const std::string &cp1251) = 0;
    virtual void Value(long double value) = 0;
    // A flag shown by a word ("exp").
    virtual void Word(const char *word) = 0;
    // A child slot, empty or the first node of a chain.
    virtual void Slot(const TExprClass *child) = 0;
};

// Copies a child chain (with its following siblings); empty for an empty child.
using TCopyChain = PExpr (*)(const TExprClass *chain);

class TExprKind {
public:
    virtual ~TExprKind() = default;
    // The node class, as typeid gives it.
    virtual const std::type_info &Type() const = 0;
    // The class name without "TExpr": "Var" for TExprVar, "Class" for TExprClass.
    virtual const char *Name() const = 0;
    // A node of the same class, texts, values, counts and bracket kinds, with its children
    // copied by copy; its siblings are not copied. Fonts, colours and surfaces are not copied.
    virtual PExpr Clone(const TExprClass &node, TCopyChain copy) const = 0;
    // The node's fields and child slots, in the dump's order.
    virtual void Describe(const TExprClass &node, TKindFields &out) const = 0;
};

// The kind of node's exact class; null for a class that is not registered.
const TExprKind *FindExprKind(const TExprClass &node);
// The kind of node's exact class; throws std::logic_error for a class that is not registered.
const TExprKind &ExprKindOf(const TExprClass &node);
// Every registered kind.
const std::vector<const TExprKind *> &ExprKinds();
// The children of node, slot by slot (empty slots left out).
std::vector<const TExprClass *> ExprChildren(const TExprClass &node);
