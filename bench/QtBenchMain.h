// The main of the benchmarks that need a Qt application: headless unless a platform is set, with
// the program's font substitutions, so text is measured in the faces the program uses.
#pragma once

#include "results/FontSetup.h"

#include <QtGlobal>

#include <benchmark/benchmark.h>

template <class TApplication> int RunQtBenchmarks(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication application(argc, argv);
    InstallFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
