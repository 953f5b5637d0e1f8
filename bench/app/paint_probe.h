#pragma once
// For a start-up child of the start-up benchmark: counts the paint events of every widget and quits the
// event loop once the queue is idle after the first paint of the main window; report() then prints the
// time of that moment (on the steady clock the parent started the child by) and the counts, and the child
// leaves with its exit code without tearing down (_exit). A window not painted within 10 s ends the loop
// too, and the child fails.
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>

class PaintProbe : public QObject {
  public:
    explicit PaintProbe(QWidget* window) : window_(window) {
        qApp->installEventFilter(this);
        QTimer::singleShot(10000, qApp, &QCoreApplication::quit);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints_;
            if (watched == window_) ++windowPaints_;
            if (watched == window_ && !painted_) {
                painted_ = true;
                QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            }
        }
        return false;
    }
    // Prints "<ns> <paint events> <paint events of the main window>"; returns the exit code, 1 when the
    // window was not painted.
    int report() const {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        std::printf("%lld %d %d\n", static_cast<long long>(std::chrono::nanoseconds(now).count()), paints_,
                    windowPaints_);
        std::fflush(stdout);
        return windowPaints_ > 0 ? 0 : 1;
    }

  private:
    QWidget* window_;
    bool painted_ = false;
    int paints_ = 0;
    int windowPaints_ = 0;
};
