// Start-up of the program to its first painted main window, next to two references of the same size
// built as a separate program that links Qt Widgets alone (minimal_window.cpp): a bare main window, and
// one with a menu bar, a toolbar and a status bar with a text. Each start is a fresh process: the
// program is this benchmark run as "melqo". A child reports the moment the event queue went idle after
// its window's first paint (paint_probe.h); the parent times it from the child's start. Run on the
// offscreen platform, so the times are the programs' own work, not a display server's. Rounds
// interleave the three, rotating which goes first; a child that fails or does not paint its window ends
// the run with exit code 1.
#include <QApplication>
#include <QTemporaryDir>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/ui/program_instance.h"
#include "bench_stats.h"
#include "paint_probe.h"

namespace {

int runMelqo(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir settings; // no saved settings: the defaults, as on a first start
    ProgramInstance program(settings.path().toStdString());
    PaintProbe probe(program.window.get());
    program.window->show();
    app.exec();
    const int code = probe.report();
    settings.remove(); // leaving without tearing down skips its destructor
    _exit(code);
}

struct Child {
    double seconds = 0;
    int paints = 0;
    int windowPaints = 0;
};

Child spawn(const char* program, const char* mode) {
    int out[2];
    if (pipe(out) != 0) FailBench("pipe");
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        execl(program, program, mode, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    char text[64] = {};
    const ssize_t n = read(out[0], text, sizeof text - 1);
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    long long paintedNs = 0;
    int paints = 0, windowPaints = 0;
    if (n <= 0 || std::sscanf(text, "%lld %d %d", &paintedNs, &paints, &windowPaints) != 3 ||
        !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        FailBench(std::string(mode) + " start-up failed");
    const auto startNs = std::chrono::nanoseconds(start.time_since_epoch()).count();
    return {double(paintedNs - startNs) / 1e9, paints, windowPaints};
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "melqo") == 0) return runMelqo(argc, argv);
    ReadBenchMode(argc, argv);
    const int processesPerRound = FullOrShort(5, 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    struct Kind {
        const char* program;
        const char* mode;
        std::vector<double> seconds; // mean of each round
        Child last;
    };
    Kind kinds[] = {{argv[0], "melqo", {}, {}}, {MINIMAL_WINDOW, "bare", {}, {}}, {MINIMAL_WINDOW, "text", {}, {}}};
    constexpr int KindCount = 3;
    std::vector<double> vsBare, vsText;
    for (int round = 0; round < BenchRounds(); ++round) {
        double sum[KindCount] = {};
        for (int i = 0; i < processesPerRound; ++i)
            for (int j = 0; j < KindCount; ++j) {
                Kind& k = kinds[(round + i + j) % KindCount];
                k.last = spawn(k.program, k.mode);
                sum[&k - kinds] += k.last.seconds;
            }
        for (int j = 0; j < KindCount; ++j)
            kinds[j].seconds.push_back(sum[j] / processesPerRound);
        vsBare.push_back(sum[0] / sum[1]);
        vsText.push_back(sum[0] / sum[2]);
    }
    const Kind &ours = kinds[0], &bare = kinds[1], &text = kinds[2];
    std::printf("start-up to a painted main window: ours %.1f ms, bare Qt window %.1f ms, Qt window with menu "
                "bar, toolbar and status text %.1f ms (medians); paint events ours %d (main window %d), bare "
                "%d (%d), with text %d (%d)\n",
                Median(ours.seconds) * 1000, Median(bare.seconds) * 1000, Median(text.seconds) * 1000,
                ours.last.paints, ours.last.windowPaints, bare.last.paints, bare.last.windowPaints,
                text.last.paints, text.last.windowPaints);
    PrintRatio("start-up time against the bare window", vsBare);
    PrintRatio("start-up time against the window with text", vsText);
    return 0;
}
