#include "factorytest/ui/bench_widgets.h"

#include <QEvent>

namespace {

class CloseWatcher : public QObject {
  public:
    CloseWatcher(QObject* window, std::function<void()> unload)
        : QObject(window), unload_(std::move(unload)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Close) unload_();
        return false;
    }

  private:
    std::function<void()> unload_;
};

QString rgb(uint32_t colour) {
    return QString("rgb(%1,%2,%3)").arg(colour & 0xFF).arg(colour >> 8 & 0xFF).arg(colour >> 16 & 0xFF);
}

} // namespace

QString BenchBackground(uint32_t colour) {
    return QString("background-color: %1;").arg(rgb(colour));
}

void ApplyStyle(QWidget* w, const QString& css) {
    if (w->styleSheet() != css) w->setStyleSheet(css);
}

Lamp::Lamp(QWidget* parent) : QLabel(parent) {
    setFixedSize(18, 18);
    setLit(false, 0);
}

void Lamp::setLit(bool lit, uint32_t colour) {
    ApplyStyle(this, QString("border: 1px solid black; border-radius: 9px; background-color: %1;")
                         .arg(lit ? rgb(colour) : QString("transparent")));
}

void UnloadOnClose(QWidget* window, std::function<void()> unload) {
    window->installEventFilter(new CloseWatcher(window, std::move(unload)));
}
