#pragma once
// Program: the program view window, drawn from the headless ProgramView. It paints the rows of the
// shown section and forwards clicks, the description box, the tabs, the scroll bar and the format button.
#include <QWidget>

#include "program/view/program_view.h"

class QLabel;
class QPainter;
class QLineEdit;
class QScrollBar;
class QTabBar;
class QToolButton;
class ProgramRows;

class ProgramWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ProgramWindow(ProgramView& view, QWidget* parent = nullptr);

    // Redraws everything from the model.
    void sync();
    int px(int twips) const;
    // The designed size: the MDI sub-window that holds the window opens at it.
    QSize sizeHint() const override;
    ProgramView& view() { return view_; }
    QTabBar* tabs() const { return Tab_Prog; }
    QScrollBar* scrollBar() const { return VScroll; }
    QToolButton* formatButton() const { return cmd_Formato; }
    ProgramRows* rows() const { return prog; }
    // Opens the description box of a rung for typing.
    void editDescription(int rung);
    // Where the rung's row (with its frame) shows, in this window's pixels; empty when it is not in view.
    QRect rowRect(int rung) const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    ProgramView& view_;
    QTabBar* Tab_Prog;
    QLabel* note;
    QToolButton* cmd_Formato;
    ProgramRows* prog;
    QScrollBar* VScroll;
    QLineEdit* txt_desc;
    int editing_ = -1;
    bool syncing_ = false;
};

// prog: the container of the shown section's rows.
class ProgramRows : public QWidget {
    Q_OBJECT
  public:
    explicit ProgramRows(ProgramWindow& window);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    RowHit hit(const QPointF& p) const;
    // A row control's box in pixels, for a row whose panel is at `top` (twips).
    QRect box(int top, const row_layout::Box& b) const;
    // Number, label, breakpoint mark, and in compact rows the function name and the argument line.
    void paintTopLine(QPainter& g, const ViewRow& r, int rung);
    // The function block with its argument captions and values, and the description.
    void paintBlock(QPainter& g, const ViewRow& r);
    ProgramWindow& window_;
    int wheelAngle_ = 0; // what a fine-grained wheel turned short of a whole notch
};
