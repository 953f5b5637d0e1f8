#pragma once
// frm_variabili: the variables, strings and text blocks of the project, a thin view over the
// variables editor logic. Every list is rebuilt from the project's tables; the window keeps no data.
#include <array>
#include <memory>
#include <QWidget>

#include "project/ui/var_picker_hand_over.h"
#include "project/variable_editor.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QTabBar;
class QTreeWidget;
struct AppContext;

class frm_variabili : public QWidget {
    Q_OBJECT
  public:
    frm_variabili(AppContext& ctx, std::shared_ptr<VarPickerHandOver> handOver, QWidget* parent = nullptr);

    // Captions in the current language, preset buttons by build, the page of the selected tab.
    void SetRes();
    void Form_Load();
    void TabStrip1_Click();
    void List1_Click();
    void cmb_Type_Click();
    void chk_altern_Click();
    void cmd_add_Click();
    void cmd_remove_Click();
    void cmd_up_Click();
    void cmd_down_Click();
    void cmd_RegistriWEB_Click(int index);
    void cmd_SetString_Click();
    void lst_strings_Click();
    void lst_block_Click();
    void cmd_SysVar_Click();
    void Command1_Click();
    void cmd_ok_Click();

    QTabBar* tabs() const { return TabStrip1; }
    QTreeWidget* list() const { return List1; }
    QWidget* page(int tab) const { return Frame[static_cast<size_t>(tab)]; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // The user chose a type: cmb_Type_Click, after the alternate fields that come into view show the
    // variable's stored values.
    void typeChosen();
    void showTypeCaptions();
    void RiempiListaVariabili();
    void RiempiListaStringhe();
    void RiempiListaBlocchi(int selected);
    void selectVariable(int index);
    VariableFields readFields() const;
    void showFields(const VariableFields& f);
    void buildVariablesPage(QWidget* page);
    void buildStringsPage(QWidget* page);
    void buildBlocksPage(QWidget* page);

    AppContext& ctx_;
    std::shared_ptr<VarPickerHandOver> handOver_;
    bool confirmed_ = false;
    int typeShown_ = 0; // the type list entry whose fields are shown

    QTabBar* TabStrip1;
    std::array<QWidget*, 3> Frame{};
    QLabel* textNote_ = nullptr; // why the Strings and Text tabs are disabled
    QTreeWidget* List1;
    QPushButton *cmd_add, *cmd_remove, *cmd_up, *cmd_down, *cmd_SysVar, *Command1, *cmd_ok;
    std::array<QPushButton*, 2> cmd_RegistriWEB{};
    std::array<QLineEdit*, 6> txt_WebReg{};
    std::array<QLabel*, 8> Label2{};
    QComboBox *cmb_Type, *cmb_outFormat;
    QLineEdit *txt_Label, *txt_nomeCampo;
    QGroupBox *frm_format, *frm_alt;
    QCheckBox *chk_sign, *chk_altern, *chk_swap;
    std::array<QScrollBar*, 2> scroll{};
    std::array<QLineEdit*, 2> txt_scroll{};
    QListWidget *lst_strings, *lst_block;
    QLineEdit *txt_stringa, *txt_BlockDesc;
    QPlainTextEdit* txt_block;
    QPushButton* cmd_SetString;
};
