#pragma once
// comandi: the function-block editor window, a view over Editor. It draws the editor's state after each
// action it forwards and holds no logic of its own beyond the picker hand-overs.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <QPointer>
#include <QWidget>

#include "fbeditor/editor.h"
#include "fbeditor/ui/dialog_hand_over.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;

class comandi : public QWidget {
    Q_OBJECT
  public:
    explicit comandi(AppContext& ctx, QWidget* parent = nullptr);
    ~comandi() override;

    // The program view's ApriRung: makes (section, rung) the editing position, shows the window and opens
    // the rung in it. A position outside the program store does nothing.
    void ApriRung(int16_t section, int16_t rung);
    // Called after every successful encoding with the rung's section, number and program view row.
    std::function<void(int16_t section, int16_t rung, const RungRow&)> rungEncoded;

    // Loads the editor (catalogue, "Comm" tab, the current rung) when it is not loaded, and draws it.
    void Form_Load();
    // Closes the window and the picker it waits for; the editor is unloaded and writes no rung.
    void Form_Unload();
    // Captions in the current language; the language switch calls it.
    void SetRes();
    // A register clicked in the register view, for the current row when it holds a register.
    void registerClicked(int reg, uint8_t valueType);
    Editor& editor() { return editor_; }

    // The user's actions, forwarded to the editor.
    void Tab_Funzioni_Click(int tab);
    void opt_Funzione_Click(int index);
    void txt_Var_Click(int row, int entry);
    void txt_Opt_Click(int row, int entry);
    // Opens the row's picker and waits, events running, until it hands its choice back.
    void cmd_Set_Click(int row);
    // True when the rung was encoded (the window then closes).
    bool cmd_AddFunc_Click();

    // The controls, for the views that sit beside this window and for tests.
    QTabBar* tabs() const { return Tab_Funzioni; }
    QPushButton* option(int k) const { return opt_Funzione[static_cast<size_t>(k)]; }
    QLabel* title() const { return lbl_nomeFunz; }
    QLabel* caption(int i) const { return lbl_Var[static_cast<size_t>(i)]; }
    QComboBox* valueBox(int i) const { return txt_Var[static_cast<size_t>(i)]; }
    QComboBox* typeBox(int i) const { return txt_Opt[static_cast<size_t>(i)]; }
    QPushButton* setButton(int i) const { return cmd_Set[static_cast<size_t>(i)]; }
    QCheckBox* swapBox(int i) const { return chk_swap[static_cast<size_t>(i)]; }
    QGroupBox* triggerFrame() const { return frm_trig; }
    QCheckBox* triggerBox() const { return chk_trig; }
    QLineEdit* labelBox() const { return txt_Label; }
    QLineEdit* delayBox() const { return txt_delay; }
    QLabel* delayCaption() const { return lbl_Delay; }
    QPushButton* okButton() const { return cmd_AddFunc; }
    // The picker a Set button opened, while it is open.
    QWidget* picker() const { return picker_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QGroupBox* buildFunctions();
    QGroupBox* buildArguments();
    void buildRow(int i);
    void showWindow();
    // Redraws every control from the editor's state.
    void refresh();
    void refreshOptions();
    void refreshRows();
    void refreshRest();

    AppContext& ctx_;
    Editor editor_;
    std::shared_ptr<DialogHandOver> handOver_;
    bool fitted_ = false; // sized to the main window once, when first shown
    QPointer<QWidget> picker_;

    QGroupBox *f_Funzioni, *f_argomenti;
    QTabBar* Tab_Funzioni;
    std::array<QPushButton*, CatalogueSize> opt_Funzione{};
    QLabel* lbl_nomeFunz;
    std::array<QLabel*, ArgumentRowCount + 2> lbl_Var{};
    std::array<QComboBox*, ArgumentRowCount + 1> txt_Var{}, txt_Opt{};
    std::array<QPushButton*, ArgumentRowCount + 1> cmd_Set{};
    std::array<QCheckBox*, ArgumentRowCount> chk_swap{};
    QGroupBox* frm_trig;
    QCheckBox* chk_trig;
    QLineEdit *txt_Label, *txt_delay;
    QLabel* lbl_Delay;
    QPushButton* cmd_AddFunc;
};
