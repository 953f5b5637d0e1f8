#pragma once
// frm_watch: the watch window, a thin view over WatchView. A register chosen from the list is added;
// Start refreshes the values until Stop; a row's value can be written through Input_Box.
#include <QStringList>
#include <QWidget>

#include "tools/value_entry.h"
#include "tools/watch_view.h"

class QComboBox;
class QPushButton;
class QTableWidget;

class frm_watch : public QWidget {
    Q_OBJECT
  public:
    frm_watch(AppContext& ctx, QWidget* parent = nullptr);
    ~frm_watch() override;

    WatchView& view() { return view_; }
    // Also the captions of an open value dialog.
    void SetRes();
    QTableWidget* table() const { return lst_; }
    QComboBox* choices() const { return cmb_reg_; }
    // Opens Input_Box for the selected row's register.
    void writeValue();

  protected:
    void closeEvent(class QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void draw();

    AppContext& ctx_;
    WatchView view_;
    ValueEntry entry_;
    QComboBox* cmb_reg_;
    QTableWidget* lst_;
    QPushButton* cmd_start_;
    QPushButton* cmd_stop_;
    QStringList shownChoices_;
};
