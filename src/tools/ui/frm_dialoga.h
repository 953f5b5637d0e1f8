#pragma once
// frm_dialoga: the manual Modbus request window, a thin view over ManualRequest. The answer bytes
// appear in txt_buff_rx as the transaction's monitor writes them, the result in words below.
#include <QWidget>

#include "tools/manual_request.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

class frm_dialoga : public QWidget {
    Q_OBJECT
  public:
    frm_dialoga(AppContext& ctx, QWidget* parent = nullptr);
    ~frm_dialoga() override;

    void cmd_send_Click();
    QLineEdit* node() const { return txt_node_; }
    QLineEdit* function() const { return txt_func_; }
    QLineEdit* fields() const { return txt_data_; }
    QPlainTextEdit* txt_buff_rx() const { return rx_; }
    QLabel* result() const { return lbl_result_; }

  protected:
    void closeEvent(class QCloseEvent* event) override;

  private:
    void draw();

    AppContext& ctx_;
    ManualRequest request_;
    QLineEdit* txt_node_;
    QLineEdit* txt_func_;
    QLineEdit* txt_data_;
    QPlainTextEdit* rx_;
    QLabel* lbl_result_;
};
