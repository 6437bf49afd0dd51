// The one offscreen Qt application of the benchmark process. Qt allows one per process, so the
// window benchmarks share it; it is made on first use and kept to the end.
#pragma once

#include <QApplication>

inline QApplication& nv_bench_app()
{
    static int argc = 1;
    static char name[] = "nuvro-bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}
