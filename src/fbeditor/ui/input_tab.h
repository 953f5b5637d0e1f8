#pragma once
// Input_Tab: the lookup-table editor over TableEditor, opened by a caller that waits on DialogBusy as
// a table picker. NomeTabella is the list position handed over both ways; OK and cancel clear
// DialogBusy, and so does any other way of closing the window.
#include <array>
#include <cstdint>
#include <memory>
#include <QWidget>

#include "fbeditor/ui/dialog_hand_over.h"
#include "project/table_editor.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;
struct AppContext;

class Input_Tab : public QWidget {
    Q_OBJECT
  public:
    Input_Tab(AppContext& ctx, std::shared_ptr<DialogHandOver> handOver, QWidget* parent = nullptr);
    ~Input_Tab() override;

    int16_t NomeTabella = -1;
    static constexpr int VisibleRows = 8;

    // Captions in the current language, the table list, then the table at NomeTabella; shows itself.
    void Form_Load();
    void SetRes();
    void ListaTab_Click(int position);
    void txt_Npunti_Change();
    void VScroll1_Change();
    void cmd_Insert_Click();
    void cmd_Load_Click();
    void cmd_Save_Click();
    // Element 1 OK, element 0 cancel.
    void cmd_ok_Click(int index);

    TableEditor& editor() { return editor_; }
    QListWidget* list() const { return ListaTab; }
    QLineEdit* nameBox() const { return txt_NomeTab; }
    QLineEdit* pointsBox() const { return txt_Npunti; }
    QLineEdit* inputBox(int row) const { return txt_TabA[static_cast<size_t>(row)]; }
    QLineEdit* outputBox(int row) const { return txt_TabB[static_cast<size_t>(row)]; }
    QScrollBar* scrollBar() const { return VScroll1; }
    bool rowShown(int row) const;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* buildPointPanel();
    void fillList();
    void showFields();
    const std::string& text(int k) const;

    AppContext& ctx_;
    std::shared_ptr<DialogHandOver> handOver_;
    TableEditor editor_;
    QGroupBox *Frame1, *f_tabella, *f_Tab;
    QLabel *lbl_nome, *Label2;
    QListWidget* ListaTab;
    QLineEdit *txt_NomeTab, *txt_Npunti;
    std::array<QWidget*, TableRows> pTab{};
    std::array<QLineEdit*, TableRows> txt_TabA{}, txt_TabB{};
    QScrollBar* VScroll1;
    QPushButton *cmd_Insert, *cmd_Load, *cmd_Save;
    int points_ = 0; // the point count the rows are laid out for
};
