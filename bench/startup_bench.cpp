// Start-up to the painted menu on the large school, next to a bare Qt window: each iteration
// starts the program as a new process on the offscreen platform and counts the CPU time the
// process used (user and system), so that a busy machine does not count as start-up.

#include <algorithm>
#include <vector>

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>

#include "bench/large_school.h"
#include "data/database.h"

namespace {

// The CPU seconds of one run of `program` in the current folder.
double runOnce(const QByteArray& program) {
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("JIKANWARI_QUIT_AFTER_PAINT", "1", 1);
        execl(program.constData(), program.constData(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

QByteArray beside(const char* name) {
    return QDir(QCoreApplication::applicationDirPath()).filePath(name).toLocal8Bit();
}

void measure(benchmark::State& state, const char* name) {
    openLargeSchool();
    const QByteArray program = beside(name);
    for (auto _ : state) {
        const double seconds = runOnce(program);
        if (seconds < 0) {
            state.SkipWithError("the program did not start");
            return;
        }
        state.SetIterationTime(seconds);
    }
}

void BM_StartUp_Program(benchmark::State& state) {
    measure(state, "jikanwari");
}

void BM_StartUp_BareWindow(benchmark::State& state) {
    measure(state, "jikanwari-bare-window");
}

// The two started in turn, so that a machine whose load comes and goes weighs on both alike: the
// time is the program's, and "ratio" the median of the program's time over the bare window's
// started right after it.
void BM_StartUp_ProgramOverBareWindow(benchmark::State& state) {
    openLargeSchool();
    const QByteArray program = beside("jikanwari"), bare = beside("jikanwari-bare-window");
    std::vector<double> ratios;
    for (auto _ : state) {
        const double seconds = runOnce(program), yardstick = runOnce(bare);
        if (seconds < 0 || yardstick <= 0) {
            state.SkipWithError("the program did not start");
            return;
        }
        ratios.push_back(seconds / yardstick);
        state.SetIterationTime(seconds);
    }
    std::nth_element(ratios.begin(), ratios.begin() + ratios.size() / 2, ratios.end());
    state.counters["ratio"] = ratios[ratios.size() / 2];
}

}  // namespace

BENCHMARK(BM_StartUp_Program)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUp_BareWindow)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUp_ProgramOverBareWindow)
    ->UseManualTime()
    ->Iterations(40)
    ->Unit(benchmark::kMillisecond);
