// Helpers of the structure tests: a node of fixed geometry (every measurement is given, so a
// construct built around it can be checked against the layout rules without the blur of real
// glyph metrics), fonts, and a check that painting stays inside a box.
#pragma once

#include "formula/draw/Canvas.h"
#include "formula/draw/ExprClass.h"
#include "tests/support/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

class TFixedNode : public TExprClass {
public:
    TFixedNode(int32_t w, int32_t h, int32_t mid = -1) : W(w), H(h), Mid(mid) {}
    ~TFixedNode() override {
        if (Alive) --*Alive;
    }

    int32_t CalcWidth() override {
        ++WidthCalls;
        return W;
    }
    int32_t CalcHeight() override { return H; }
    int32_t CalcMidLine(bool Down) override {
        if (Mid < 0) return TExprClass::CalcMidLine(Down);
        return Down ? Mid - H + 1 : Mid;
    }
    int32_t CalcPowerX() override { return PowerXValue; }
    int32_t CalcPowerY() override { return PowerYValue; }
    int32_t CalcIndexX() override { return IndexXValue; }
    int32_t CalcIndexY() override { return IndexYValue; }
    int32_t CalcCapDY() override { return CapDYValue; }
    void CalcCapDX(int32_t &Left, int32_t &Right) override {
        Left = CapLeft;
        Right = CapRight;
    }
    uint32_t FactorFlags() override { return Flags; }
    bool ForcesArgBrackets() override { return Forces; }
    bool ArgAlwaysBracketed() override { return AlwaysBracketed; }
    void Paint(int32_t X, int32_t Y) override {
        PaintX = X;
        PaintY = Y;
        ++Paints;
    }
    // The top-left corner it was last painted at.
    TPoint PaintedAt() const { return {PaintX, PaintY}; }

    int32_t W, H, Mid;
    int32_t PowerXValue = 0, PowerYValue = 0, IndexXValue = 0, IndexYValue = 0;
    int32_t CapDYValue = 0, CapLeft = 0, CapRight = 0;
    uint32_t Flags = 3;
    bool Forces = false;
    bool AlwaysBracketed = true;
    int32_t PaintX = 0, PaintY = 0;
    int Paints = 0;
    int WidthCalls = 0;
    int *Alive = nullptr; // counted down when the node is freed
};

inline std::unique_ptr<TFixedNode> Fixed(int32_t w, int32_t h, int32_t mid = -1) {
    return std::make_unique<TFixedNode>(w, h, mid);
}

// A letter-sized base of scripts, 10 x 16 with its axis on row 8: its superscript goes to
// (powerX, powerY), its subscript to (indexX, indexY).
inline std::unique_ptr<TFixedNode> ScriptBase(int32_t powerX, int32_t powerY, int32_t indexX,
                                              int32_t indexY = 0) {
    auto n = Fixed(10, 16, 8);
    n->PowerXValue = powerX;
    n->PowerYValue = powerY;
    n->IndexXValue = indexX;
    n->IndexYValue = indexY;
    return n;
}

inline TExprFont TestFont(int32_t height) {
    TFontData d;
    d.Name = "Test";
    d.Height = height;
    return TExprFont(d);
}

// Gives a tree its font and then its surface, as the picture builder does.
inline void Prepare(TExprClass &root, TCanvas &canvas, int32_t fontHeight) {
    root.SetFont(TestFont(fontHeight));
    root.SetCanvas(&canvas);
}

// A node's box: its width, its height and its axis row counted from the top and the bottom.
struct TLayoutBox {
    int32_t Width, Height, MidLineUp, MidLineDn;
    bool operator==(const TLayoutBox &) const = default;
};

inline TLayoutBox BoxOf(TExprClass &node) {
    return {node.Width(), node.Height(), node.MidLineUp(), node.MidLineDn()};
}

inline void PrintTo(const TLayoutBox &b, std::ostream *os) {
    *os << "{width " << b.Width << ", height " << b.Height << ", axis " << b.MidLineUp << " / "
        << b.MidLineDn << '}';
}

inline void PrintTo(const TPoint &p, std::ostream *os) {
    *os << '(' << p.X << ", " << p.Y << ')';
}

// Every shape painted lies in columns l .. r - 1 and rows t .. b - 1.
inline void ExpectShapesInside(const TRecordingCanvas &canvas, int32_t l, int32_t t, int32_t r,
                               int32_t b) {
    for (const auto &c : canvas.Calls) {
        for (const auto &p : c.Points) {
            EXPECT_GE(p.X, l) << c.Kind;
            EXPECT_LT(p.X, r) << c.Kind;
            EXPECT_GE(p.Y, t) << c.Kind;
            EXPECT_LT(p.Y, b) << c.Kind;
        }
        if (c.Kind == "FillRect" || c.Kind == "Ellipse" || c.Kind == "Rectangle") {
            EXPECT_GE(c.Args[0], l) << c.Kind;
            EXPECT_LE(c.Args[2], r) << c.Kind;
            EXPECT_GE(c.Args[1], t) << c.Kind;
            EXPECT_LE(c.Args[3], b) << c.Kind;
        }
    }
}
