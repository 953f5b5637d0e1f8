#pragma once
// Registri: the register view window, a thin view over RegisterView. One row of labels per shown
// register, a scroll bar (and the wheel) over the model's registers; a click hands the register to the
// editor; F5 reads the shown registers again.
#include <QWidget>

#include "tools/register_view.h"

class QScrollBar;
class QTableWidget;

class Registri : public QWidget {
    Q_OBJECT
  public:
    Registri(RegisterView& view, QWidget* parent = nullptr);
    ~Registri() override;

    QTableWidget* table() const { return grid_; }
    QScrollBar* scrollBar() const { return VScroll; }
    // Every column readable and a screenful of rows.
    QSize sizeHint() const override;

  protected:
    // The rows that fit follow the table's own height.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(class QKeyEvent* event) override;

  private:
    void draw();
    void fitRows();

    RegisterView& view_;
    QTableWidget* grid_;
    QScrollBar* VScroll;
};
