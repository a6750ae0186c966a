#include "tests/results/Golden.h"

#include "results/FontSetup.h"
#include "results/QtCanvas.h"

#include <QDir>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// Pictures larger than this are a layout fault, not something to allocate.
constexpr int MaxSide = 8000;

QString OutputPath(const std::string &name, const char *suffix) {
    QDir().mkpath(QStringLiteral(ZELVANO_TEST_OUTPUT_DIR));
    return QStringLiteral(ZELVANO_TEST_OUTPUT_DIR) + QLatin1Char('/') +
           QString::fromStdString(name) + QLatin1String(suffix);
}

QImage Diff(const QImage &actual, const QImage &golden) {
    const int w = std::max(actual.width(), golden.width());
    const int h = std::max(actual.height(), golden.height());
    QImage diff(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool inA = x < actual.width() && y < actual.height();
            const bool inG = x < golden.width() && y < golden.height();
            if (inA && inG && actual.pixel(x, y) == golden.pixel(x, y)) {
                // Faded, so the differences stand out.
                const int g = 192 + qGray(actual.pixel(x, y)) / 4;
                diff.setPixel(x, y, qRgb(g, g, g));
            } else
                diff.setPixel(x, y, qRgb(255, 0, 0));
        }
    return diff;
}

} // namespace

std::string GoldenPath(const std::string &name) {
    return std::string(ZELVANO_SOURCE_DIR) + "/tests/golden/" + name + ".png";
}

QImage RenderExpr(TExprClass &root, int points, const char *face, int margin) {
    InstallFontSubstitutions();
    TQtCanvas canvas;
    TExprFont font;
    font.SetName(face);
    font.SetSize(points);
    root.SetCanvas(&canvas);
    root.SetFont(font);
    const int w = std::clamp(root.Width() + 2 * margin, 1, MaxSide);
    const int h = std::clamp(root.Height() + 2 * margin, 1, MaxSide);
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        canvas.SetPainter(&painter);
        root.Draw(margin, margin, 0, 0);
        canvas.SetPainter(nullptr);
    }
    root.SetCanvas(nullptr);
    return image;
}

::testing::AssertionResult MatchesGolden(const QImage &actual, const std::string &name) {
    const std::string path = GoldenPath(name);
    const char *update = std::getenv("ZELVANO_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        if (!actual.convertToFormat(QImage::Format_RGB32).save(QString::fromStdString(path), "PNG"))
            return ::testing::AssertionFailure() << "cannot write " << path;
        std::printf("golden image %s written: look at it before committing\n", path.c_str());
        return ::testing::AssertionSuccess();
    }
    return MatchesGoldenFile(actual, path, name);
}

::testing::AssertionResult MatchesGoldenFile(const QImage &actualImage,
                                             const std::string &goldenFile,
                                             const std::string &name) {
    const QImage actual = actualImage.convertToFormat(QImage::Format_RGB32);
    const QString goldenPath = QString::fromStdString(goldenFile);
    QImage golden;
    if (!golden.load(goldenPath, "PNG")) {
        const QString actualPath = OutputPath(name, ".actual.png");
        actual.save(actualPath, "PNG");
        return ::testing::AssertionFailure()
               << "no golden image " << goldenPath.toStdString() << " (actual image written to "
               << actualPath.toStdString() << "; ZELVANO_UPDATE_GOLDEN=1 creates the golden)";
    }
    golden = golden.convertToFormat(QImage::Format_RGB32);
    long long differing = 0;
    if (golden.size() == actual.size()) {
        for (int y = 0; y < actual.height(); ++y) {
            const auto *a = reinterpret_cast<const QRgb *>(actual.constScanLine(y));
            const auto *g = reinterpret_cast<const QRgb *>(golden.constScanLine(y));
            for (int x = 0; x < actual.width(); ++x)
                differing += a[x] != g[x];
        }
        if (differing == 0) return ::testing::AssertionSuccess();
    }
    const QString actualPath = OutputPath(name, ".actual.png");
    const QString diffPath = OutputPath(name, ".diff.png");
    actual.save(actualPath, "PNG");
    Diff(actual, golden).save(diffPath, "PNG");
    auto failure = ::testing::AssertionFailure();
    failure << name << ": ";
    if (golden.size() != actual.size())
        failure << "size " << actual.width() << "x" << actual.height() << ", golden "
                << golden.width() << "x" << golden.height();
    else
        failure << differing << " pixels differ";
    failure << " (actual " << actualPath.toStdString() << ", diff " << diffPath.toStdString()
            << ")";
    return failure;
}
