#include "platform/window_fit.h"

#include <QEvent>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QStyle>

QSize fittedSize(QSize wanted, QSize room) {
    return QSize(std::max(1, std::min(wanted.width(), room.width())),
                 std::max(1, std::min(wanted.height(), room.height())));
}

namespace {

// Shows a hidden sub-window's content whenever the frame is shown.
class ContentShower : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            if (QWidget* content = static_cast<QMdiSubWindow*>(watched)->widget()) content->show();
        return false;
    }
};

// What the frame adds around the content of a sub-window (title bar and borders).
QSize frameExtra(const QMdiSubWindow* sub) {
    const QWidget* content = sub->widget();
    if (!content || !sub->isVisible()) {
        const int border = sub->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, sub);
        const int title = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
        return {2 * border, title + border};
    }
    return sub->size() - content->size();
}

QSize contentWanted(const QWidget* content, QSize wanted) {
    if (wanted.isValid()) return wanted;
    if (!content) return {};
    return content->sizeHint().expandedTo(content->minimumSizeHint()).expandedTo(content->minimumSize());
}

} // namespace

// The room inside an MDI area; before the main window is first shown its area is not laid out yet, and
// the main window's own size is the bound.
QSize roomIn(const QMdiArea* area) {
    return area->isVisible() ? area->viewport()->size() : area->window()->size();
}

namespace {

// Sizes the frame of `sub` to `size` scaled down to `room`, and moves it wholly inside the room.
void placeInside(QMdiSubWindow* sub, QSize size, QSize room) {
    size = fittedSize(size, room);
    // Whatever the content asks as its least size, the frame can still be made to fit the area.
    sub->setMinimumSize(std::min(sub->minimumWidth(), size.width()),
                        std::min(sub->minimumHeight(), size.height()));
    sub->resize(size);
    QPoint at = sub->pos();
    at.setX(std::clamp(at.x(), 0, std::max(0, room.width() - size.width())));
    at.setY(std::clamp(at.y(), 0, std::max(0, room.height() - size.height())));
    sub->move(at);
}

} // namespace

void fitSubWindow(QMdiSubWindow* sub, QSize wanted) {
    QMdiArea* area = sub ? sub->mdiArea() : nullptr;
    if (!area) return;
    if (QWidget* content = subWindowContent(sub); content && content->layout()) content->layout()->activate();
    placeInside(sub, contentWanted(subWindowContent(sub), wanted) + frameExtra(sub), roomIn(area));
}

void keepInsideArea(QMdiSubWindow* sub) {
    if (QMdiArea* area = sub ? sub->mdiArea() : nullptr) placeInside(sub, sub->size(), roomIn(area));
}

QMdiSubWindow* addFittedSubWindow(QMdiArea* area, QWidget* content, QSize wanted) {
    const QSize need = content->minimumSizeHint().expandedTo(content->minimumSize());
    const QSize room = roomIn(area);
    const QSize want = contentWanted(content, wanted);
    QWidget* shown = content;
    if (need.width() > room.width() || need.height() > room.height()) {
        auto* scroll = new QScrollArea;
        scroll->setObjectName(content->objectName() + "Scroll");
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWindowTitle(content->windowTitle());
        scroll->setWidget(content);
        // The sub-window's caption follows the content's.
        QObject::connect(content, &QWidget::windowTitleChanged, scroll, &QWidget::setWindowTitle);
        shown = scroll;
    }
    QMdiSubWindow* sub = area->addSubWindow(shown);
    fitSubWindow(sub, want);
    return sub;
}

void keepOnClose(QMdiSubWindow* sub) {
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    sub->installEventFilter(new ContentShower(sub));
}

QMdiSubWindow* subWindowOf(const QWidget* w) {
    for (QWidget* p = w ? w->parentWidget() : nullptr; p; p = p->parentWidget()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(p)) return sub;
        if (p->isWindow()) break;
    }
    return nullptr;
}

QWidget* subWindowContent(const QMdiSubWindow* sub) {
    QWidget* w = sub ? sub->widget() : nullptr;
    if (auto* scroll = qobject_cast<QScrollArea*>(w)) return scroll->widget();
    return w;
}

void fitDialog(QWidget* dialog, const QWidget* host, QSize wanted) {
    if (!dialog || !host) return;
    const QWidget* area = host;
    if (auto* main = host->window(); main) area = main;
    const QSize room = area->size();
    const QSize size = fittedSize(wanted.isValid() ? wanted : dialog->sizeHint(), room);
    if (dialog->minimumWidth() > size.width() || dialog->minimumHeight() > size.height())
        dialog->setMinimumSize(dialog->minimumSize().boundedTo(size));
    dialog->resize(size);
    const QPoint centre = area->mapToGlobal(QPoint(area->width() / 2, area->height() / 2));
    dialog->move(centre - QPoint(size.width() / 2, size.height() / 2));
}
