// Pump timing: the game's Qt event pump called back to back with a shown
// window, each call's length on the steady clock and the processor time that
// all of them take. Prints "calls=<n> mean_us=.. p99_us=.. max_us=..
// over2ms=<calls longer than 2 ms> cpu_pct=<% of one core>".
//
//     pumptiming [CALLS]
#include "qtservices.h"

#include <QApplication>
#include <QLabel>
#include <QWindow>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <numeric>
#include <string>
#include <vector>

namespace {

double processSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const long calls = argc > 1 ? std::stol(argv[1]) : 10'000;
    QLabel window(QStringLiteral("pump timing"));
    window.resize(240, 80);
    window.show();

    jorv::QtPump pump;
    for (int i = 0; i < 5'000 && !(window.windowHandle() && window.windowHandle()->isExposed());
         ++i)
        pump.pump();
    // Let the first paint and the window system's replies pass.
    for (int i = 0; i < 500; ++i)
        pump.pump();

    using Clock = std::chrono::steady_clock;
    std::vector<double> lengths(static_cast<std::size_t>(calls));
    const double cpuStart = processSeconds();
    const auto wallStart = Clock::now();
    for (double& length : lengths) {
        const auto before = Clock::now();
        pump.pump();
        length = std::chrono::duration<double, std::micro>(Clock::now() - before).count();
    }
    const double wall = std::chrono::duration<double>(Clock::now() - wallStart).count();
    const double cpu = processSeconds() - cpuStart;

    const double mean =
        std::accumulate(lengths.begin(), lengths.end(), 0.0) / static_cast<double>(lengths.size());
    const auto over2ms =
        std::count_if(lengths.begin(), lengths.end(), [](double us) { return us > 2000.0; });
    std::sort(lengths.begin(), lengths.end());
    const double p99 = lengths[(lengths.size() * 99 + 99) / 100 - 1];
    std::printf("calls=%ld mean_us=%.1f p99_us=%.1f max_us=%.1f over2ms=%ld cpu_pct=%.2f\n", calls,
                mean, p99, lengths.back(), static_cast<long>(over2ms), 100.0 * cpu / wall);
    return 0;
}
