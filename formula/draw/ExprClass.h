// TExprClass: the base of every formula node. A node owns its following siblings (Next) and
// its font, measures itself on a TCanvas, caches each measurement until something invalidates
// it, and paints itself anchored at a point.
#pragma once

#include "formula/draw/Canvas.h"
#include "formula/draw/ExprFont.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class TExprClass;
using PExpr = std::unique_ptr<TExprClass>;

// Bits of ValidMask; a set bit means the cached value is stale.
enum : uint32_t {
    vmWidth = 0x001,
    vmHeight = 0x002,
    vmPowerX = 0x004,
    vmPowerY = 0x008,
    vmIndexX = 0x010,
    vmIndexY = 0x020,
    vmCapDX = 0x040,
    vmCapDY = 0x080,
    vmMidLineUp = 0x100,
    vmMidLineDn = 0x200,
    // Free for descendants' own caches (matrix cell size, group operator sign size).
    vmUser1 = 0x400,
    vmUser2 = 0x800,
    vmAllStale = 0xFFFFFFFF,
    vmAllValid = 0,
};

// Bits of FactorFlags: how a node joins neighbouring factors.
enum : uint32_t {
    efLeft = 1,          // may stand directly after another factor, with no sign between
    efRight = 2,         // another factor may stand directly after it
    efNegative = 4,      // begins with a minus (or plus-minus, minus-plus) sign
    efRoundBrackets = 8, // a round-bracketed group whose brackets may be dropped
    efBrackets = 16,     // enclosed in a pair of visible brackets
};

// The inherit-colour marker: the effective colour is then the parent's.
constexpr TColor clInherit = 0x1FFFFFFF;

constexpr int32_t MaxInt = 2147483647;

class TExprClass {
public:
    TExprClass();
    virtual ~TExprClass();
    TExprClass(const TExprClass &) = delete;
    TExprClass &operator=(const TExprClass &) = delete;

    // Links. Parent and Canvas are not owned; Next (with the rest of the chain) is.
    TExprClass *Parent() const { return FParent; }
    TExprClass *Next() const { return FNext.get(); }
    TCanvas *Canvas() const { return FCanvas; }
    TExprFont &Font() { return *FFont; }
    const TExprFont &Font() const { return *FFont; }
    TColor Color() const { return FColor; }
    uint32_t ValidMask() const { return FValidMask; }

    // Public operations of the node protocol.
    // Gives parent to this node and the rest of its chain.
    void SetParent(TExprClass *parent);
    TColor GetColor() const;
    void SetColor(TColor color);
    void SetCanvas(TCanvas *canvas);
    void SetFont(const TExprFont &font);
    void FontNotify();
    void CalcLineMetrics();
    // Appends node at the end of this chain and gives it this node's parent, font and canvas.
    void AddNext(PExpr node);
    // Frees the present rest of the chain, then stores node as Next (with this node's Parent).
    void SetNext(PExpr node);
    PExpr CutOffNext();
    void SetPenAndBrush();
    void AlignToTopLeft(int32_t &X, int32_t &Y, int HAlign, int VAlign);
    void Draw(int32_t X, int32_t Y, int HAlign, int VAlign);
    void InheritFont(const TExprFont &font, int32_t penWidthX, int32_t penWidthY, long double unitX,
                     long double unitY);
    void InheritCanvas(TCanvas *canvas, int32_t penWidthX, int32_t penWidthY, long double unitX,
                       long double unitY);

    // Cached measurements.
    int32_t Width();
    int32_t Height();
    int32_t MidLineUp();
    int32_t MidLineDn();
    int32_t PowerX();
    int32_t PowerY();
    int32_t IndexX();
    int32_t IndexY();
    int32_t CapDY();
    int32_t CapDXLeft();
    int32_t CapDXRight();

    // The engine's units, computed by CalcLineMetrics or inherited from the owner.
    int32_t PenWidthX() const { return FPenWidthX; }
    int32_t PenWidthY() const { return FPenWidthY; }
    long double UnitX() const { return FUnitX; }
    long double UnitY() const { return FUnitY; }

    // Dynamic operations, in their fixed order.
    virtual void FontChanged();
    virtual void CanvasChanged();
    virtual void AssignFont();
    virtual void Paint(int32_t X, int32_t Y);
    virtual bool ForcesArgBrackets();
    virtual bool ArgAlwaysBracketed();
    virtual int32_t CalcWidth();
    virtual int32_t CalcHeight();
    virtual int32_t CalcMidLine(bool Down);
    virtual int32_t CalcPowerX();
    virtual int32_t CalcIndexX();
    virtual int32_t CalcPowerY();
    virtual int32_t CalcIndexY();
    virtual int32_t CalcCapDY();
    virtual void CalcCapDX(int32_t &Left, int32_t &Right);
    virtual uint32_t FactorFlags();
    // Asked by a function argument of its Parent: true makes the argument show its brackets.
    // Only a function answers (for its name part); any other node leaves it to the content.
    virtual bool ArgumentAlwaysBracketed();
    // An upright function name: with an index on it, it still leaves the argument bare.
    virtual bool IsFuncName();

protected:
    // Marks the given cached measurements stale (content changes of descendants).
    void Invalidate(uint32_t bits) { FValidMask |= bits; }
    // A cached value of a descendant: computes it on first demand while a canvas is set.
    bool NeedsCalc(uint32_t bit) const { return (FValidMask & bit) != 0 && FCanvas != nullptr; }
    void MarkValid(uint32_t bit) { FValidMask &= ~bit; }

    TExprClass *FParent = nullptr;
    PExpr FNext;
    TColor FColor = clInherit;
    std::unique_ptr<TExprFont> FFont;
    int32_t FWidth = 0, FHeight = 0, FMidLineUp = 0, FMidLineDn = 0, FPowerX = 0, FPowerY = 0,
            FIndexX = 0, FIndexY = 0, FCapDY = 0, FCapDXLeft = 0, FCapDXRight = 0;
    TCanvas *FCanvas = nullptr;
    uint32_t FValidMask = vmAllValid;
    int32_t FPenWidthX = 0;
    int32_t FPenWidthY = 0;
    long double FUnitX = 0;
    long double FUnitY = 0;

private:
    bool MetricsEqual(int32_t penWidthX, int32_t penWidthY, long double unitX,
                      long double unitY) const;
    void SetMetrics(int32_t penWidthX, int32_t penWidthY, long double unitX, long double unitY);
};

// The nodes alive on this thread; the builder bounds the size of a tree by it.
std::size_t LiveExprNodes();

// The last node of the chain that begins with node (node itself when it has no Next).
TExprClass *LastInChain(TExprClass *node);

// Debug overlay: while on, Draw outlines every node's box in light blue and marks its axis
// row in light red after painting it, so layout faults can be seen. Off by default.
void SetExprDebugBoxes(bool on);
bool ExprDebugBoxes();
constexpr TColor clDebugBox = 0xFFC0A0;
constexpr TColor clDebugAxis = 0xA0A0FF;

// Told of every node's painting, nested as the nodes paint each other, so a watcher knows which
// node each drawing call of the surface belongs to (for example to check that no two nodes' ink
// collides). X, Y: the node's top-left corner.
class TExprDrawObserver {
public:
    virtual ~TExprDrawObserver() = default;
    virtual void BeginDraw(TExprClass &node, int32_t X, int32_t Y) = 0;
    virtual void EndDraw(TExprClass &node) = 0;
};

// The watcher of this thread's painting; null (the default) for none.
void SetExprDrawObserver(TExprDrawObserver *observer);
