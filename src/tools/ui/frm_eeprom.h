#pragma once
// frm_eeprom: the device memory tool, a thin view over MemoryTool. The user types the first and last
// address (hex) and reads that range into a memory-image file or writes one to it; ProgressBar1
// follows the blocks.
#include <QWidget>

#include "program/ui/transfer_widgets.h"
#include "tools/memory_tool.h"

class QLineEdit;
class QProgressBar;
class QPushButton;

class frm_eeprom : public QWidget {
    Q_OBJECT
  public:
    frm_eeprom(AppContext& ctx, QWidget* parent = nullptr);

    QProgressBar* ProgressBar1;
    QLineEdit* from() const { return txt_from_; }
    QLineEdit* to() const { return txt_to_; }
    MemoryTool& tool() { return tool_; }
    bool running() const { return tool_.running(); }

  protected:
    // Not closed while a transfer runs.
    void closeEvent(class QCloseEvent* event) override;

  private:
    void transfer(bool upload);

    MemoryTool tool_;
    QLineEdit* txt_from_;
    QLineEdit* txt_to_;
    QPushButton* cmd_upload_;
    QPushButton* cmd_download_;
    WidgetProgressBar bar_;
    ApplicationBusyPointer pointer_;
};
