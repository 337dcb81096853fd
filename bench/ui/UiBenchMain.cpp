// Main of the window benchmarks: one QApplication on the offscreen platform (or the one
// VARDUN_BENCH_PLATFORM names, for a run with a real accessibility bridge), the program's
// style and font, then Google Benchmark.
#include "ui/widgets/WindowFont.h"

#include <QApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    const QByteArray platform = qgetenv("VARDUN_BENCH_PLATFORM");
    qputenv("QT_QPA_PLATFORM", platform.isEmpty() ? QByteArrayLiteral("offscreen") : platform);
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setFont(WindowFont());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
