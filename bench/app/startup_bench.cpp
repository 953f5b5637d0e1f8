// Start-up of the program to its first painted main window, next to a bare Qt main window of the same
// size, each in a fresh process (the benchmark runs itself with "melqo" or "bare"). A child counts the
// paint events until the event queue is idle after the first paint of its main window, then reports
// the time of that moment and the count and leaves without tearing down; the parent times each child
// from its start to that moment. Run on the offscreen platform, so the times
// are the program's own work, not a display server's. Rounds interleave the two, alternating which
// goes first; a child that fails or paints nothing ends the run with exit code 1.
#include <QApplication>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench_stats.h"
#include "app/ui/program_instance.h"

namespace {

constexpr int ProcessesPerRound = 5;

// Counts paint events of every widget; quits once the queue is idle after the window's first paint.
class PaintCounter : public QObject {
  public:
    explicit PaintCounter(QWidget* window) : window_(window) { qApp->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            if (watched == window_) ++windowPaints;
            if (watched == window_ && !painted_) {
                painted_ = true;
                QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            }
        }
        return false;
    }
    int paints = 0;
    int windowPaints = 0; // of the main window itself
    // The moment the queue went idle after the first paint, on the clock the parent started the child by.
    [[noreturn]] void report() const {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        std::printf("%lld %d %d\n", static_cast<long long>(std::chrono::nanoseconds(now).count()), paints,
                    windowPaints);
        std::fflush(stdout);
        _exit(paints > 0 ? 0 : 1);
    }

  private:
    QWidget* window_;
    bool painted_ = false;
};

int runBare(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Melqo");
    window.resize(1067, 867);
    PaintCounter counter(&window);
    window.show();
    app.exec();
    counter.report();
}

int runMelqo(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir settings; // no saved settings: the defaults, as on a first start
    ProgramInstance program(settings.path().toStdString());
    PaintCounter counter(program.window.get());
    program.window->show();
    app.exec();
    counter.report();
}

struct Child {
    double seconds = 0;
    int paints = 0;
    int windowPaints = 0;
};

Child spawn(const char* self, const char* mode) {
    int out[2];
    if (pipe(out) != 0) FailBench("pipe");
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        execl(self, self, mode, static_cast<char*>(nullptr));
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
    if (argc > 1 && std::strcmp(argv[1], "bare") == 0) return runBare(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "melqo") == 0) return runMelqo(argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::vector<double> ours, bare, ratios;
    Child ourLast, bareLast;
    for (int round = 0; round < BenchRounds; ++round) {
        double o = 0, b = 0;
        for (int i = 0; i < ProcessesPerRound; ++i) {
            const bool bareFirst = (round + i) % 2 != 0;
            Child first = spawn(argv[0], bareFirst ? "bare" : "melqo");
            Child second = spawn(argv[0], bareFirst ? "melqo" : "bare");
            const Child& m = bareFirst ? second : first;
            const Child& q = bareFirst ? first : second;
            o += m.seconds;
            b += q.seconds;
            ourLast = m;
            bareLast = q;
        }
        ours.push_back(o / ProcessesPerRound);
        bare.push_back(b / ProcessesPerRound);
        ratios.push_back(ours.back() / bare.back());
    }
    std::printf(
        "start-up to a painted main window: ours %.1f ms, bare Qt window %.1f ms (medians); paint events "
        "ours %d (main window %d), bare %d (main window %d)\n",
        Median(ours) * 1000, Median(bare) * 1000, ourLast.paints, ourLast.windowPaints, bareLast.paints,
        bareLast.windowPaints);
    PrintRatio("start-up time", ratios);
    return 0;
}
