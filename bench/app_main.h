#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>

#include "platform/forms/form.h"

namespace bench {

// main() of a benchmark that opens windows: a QApplication (offscreen unless the caller's
// environment names a platform), the benchmarks, then every window closed again.
inline int runWithApplication(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    forms::resetAllWindows();
    return 0;
}

}  // namespace bench
