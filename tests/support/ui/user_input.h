#pragma once
// The user's pointer as the window system hands it to a window, for tests of what a click does while a
// request waits.
#include <QCoreApplication>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QWindow>

#include <initializer_list>

// The pointer moved to the point `at` of `w`, then the left button's `presses` there (a click: press and
// release), as the window system hands them to the window that holds `w`.
inline void pointAsTheUser(QWidget* w, QPoint at, std::initializer_list<QEvent::Type> presses) {
    QWidget* top = w->window();
    const QPointF in = w->mapTo(top, at);
    QMouseEvent move(QEvent::MouseMove, in, top->mapToGlobal(in), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(top->windowHandle(), &move);
    for (const QEvent::Type type : presses) {
        QMouseEvent e(type, in, top->mapToGlobal(in), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(top->windowHandle(), &e);
    }
}

inline void clickAsTheUser(QWidget* w, QPoint at) {
    pointAsTheUser(w, at, {QEvent::MouseButtonPress, QEvent::MouseButtonRelease});
}

// The middle of a sub-window's close box, where its style lays it out in the title bar.
inline QPoint closeBoxOf(QMdiSubWindow* sub) {
    QStyleOptionTitleBar title;
    title.initFrom(sub);
    title.subControls = QStyle::SC_All;
    title.titleBarFlags = sub->windowFlags();
    title.titleBarState = sub->windowState() | Qt::WindowActive;
    title.rect = {0, 0, sub->width(), sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, &title, sub)};
    return sub->style()
        ->subControlRect(QStyle::CC_TitleBar, &title, QStyle::SC_TitleBarCloseButton, sub)
        .center();
}
