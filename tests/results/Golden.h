// Golden-image tests of formula pictures: render a node tree through the Qt drawing surface and
// compare it with tests/golden/<name>.png pixel for pixel.
//
// On a mismatch the actual image and a diff (differing pixels red, the rest a faded copy) are
// written to ZELVANO_TEST_OUTPUT_DIR as <name>.actual.png and <name>.diff.png, and the test
// fails. With ZELVANO_UPDATE_GOLDEN=1 in the environment the golden file is (re)written instead;
// look at every image written that way before committing it.
#pragma once

#include "formula/draw/ExprClass.h"

#include <QImage>

#include <gtest/gtest.h>

#include <string>

// Lays root out in the face at the given point size (set with SetCanvas, then SetFont, as the
// formula pictures are built) and paints it with its top-left corner at (margin, margin) on a
// white image of its size plus the margins. The tree is left without a canvas afterwards.
QImage RenderExpr(TExprClass &root, int points, const char *face = "Comic Sans MS", int margin = 4);

::testing::AssertionResult MatchesGolden(const QImage &actual, const std::string &name);
// The same against a golden file anywhere (never rewritten); name names the written actual
// and diff images.
::testing::AssertionResult MatchesGoldenFile(const QImage &actual, const std::string &goldenPath,
                                             const std::string &name);

// The path of tests/golden/<name>.png in the source tree.
std::string GoldenPath(const std::string &name);
