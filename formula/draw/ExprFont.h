// The font model of the formula engine: a font value with a change notification that nodes
// hook. The notification fires once per actual change: a setter that stores a different value
// fires it once, Assign fires it once when any attribute differs, and storing what is already
// there fires nothing (so re-sending a font through a tree costs no further work).
#pragma once

#include "formula/draw/Canvas.h"

#include <functional>
#include <string>
#include <utility>

class TExprFont {
public:
    TExprFont() = default;
    explicit TExprFont(const TFontData &data, int32_t pixelsPerInch = 96)
        : FData(data), FPixelsPerInch(pixelsPerInch) {}
    // Copies are plain values: the notification is not copied.
    TExprFont(const TExprFont &other) : FData(other.FData), FPixelsPerInch(other.FPixelsPerInch) {}
    TExprFont &operator=(const TExprFont &) = delete;

    const TFontData &Data() const { return FData; }

    const std::string &Name() const { return FData.Name; }
    void SetName(std::string name) { Store(FData.Name, std::move(name)); }
    // Signed pixel height: negative = character height, positive = cell height.
    int32_t Height() const { return FData.Height; }
    void SetHeight(int32_t height) { Store(FData.Height, height); }
    // Size in points at PixelsPerInch (negative for a positive, cell-based height).
    int32_t Size() const { return -MulDivRound(FData.Height, 72, FPixelsPerInch); }
    void SetSize(int32_t points) { SetHeight(-MulDivRound(points, FPixelsPerInch, 72)); }
    uint8_t Style() const { return FData.Style; }
    void SetStyle(uint8_t style) { Store(FData.Style, style); }
    uint8_t Charset() const { return FData.Charset; }
    void SetCharset(uint8_t charset) { Store(FData.Charset, charset); }
    uint8_t Pitch() const { return FData.Pitch; }
    void SetPitch(uint8_t pitch) { Store(FData.Pitch, pitch); }
    TColor Color() const { return FData.Color; }
    void SetColor(TColor color) { Store(FData.Color, color); }
    // The resolution that links Size and Height; not an attribute, no notification.
    int32_t PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int32_t ppi) { FPixelsPerInch = ppi; }

    // Copies every attribute of source (and its resolution); fires the notification once when
    // anything differed.
    void Assign(const TExprFont &source) { Assign(source.FData, source.FPixelsPerInch); }
    void Assign(const TFontData &data, int32_t pixelsPerInch) {
        FPixelsPerInch = pixelsPerInch;
        if (FData == data) return;
        FData = data;
        Changed();
    }

    std::function<void()> OnChange;

private:
    void Changed() {
        if (OnChange) OnChange();
    }
    // Every setter: a different value is stored and notified, the same one is not.
    template <typename T> void Store(T &attribute, T value) {
        if (attribute == value) return;
        attribute = std::move(value);
        Changed();
    }
    // a * b / c rounded half away from zero, in 64 bits.
    static int32_t MulDivRound(int32_t a, int32_t b, int32_t c) {
        if (c == 0) return -1;
        long long p = static_cast<long long>(a) * b;
        long long q = p / c, r = p % c;
        if (2 * (r < 0 ? -r : r) >= (c < 0 ? -c : c)) q += ((p < 0) != (c < 0)) ? -1 : 1;
        return static_cast<int32_t>(q);
    }

    TFontData FData;
    int32_t FPixelsPerInch = 96;
};
