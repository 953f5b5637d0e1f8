#pragma once
// frm_Settings: connection page (model, node, channel, TCP and serial fields) and workspace page
// (register update, animate time, language). The logic is the headless SettingsForm.
#include <QDialog>

struct AppContext;
struct ShellProcedures;
class LanguageSwitch;
class PictureList;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QStackedWidget;

class SettingsDialog : public QDialog {
    Q_OBJECT
  public:
    enum Page { ConnectionPage = 0, WorkspacePage = 1 };

    SettingsDialog(AppContext& ctx, const ShellProcedures& procs, LanguageSwitch& languages,
                   const PictureList& pictures, QWidget* parent = nullptr);
    ~SettingsDialog() override;

    void showPage(Page page);
    void SetRes();
    // cmd_ok(1) and cmd_ok(0); Cancel leaves a language chosen in the dialog in use, unsaved.
    void confirm();
    void cancel();

    QComboBox* modelList() const { return Combo1; }

  private:
    void Form_Load();
    void optChannel_Click(int index);
    void opt_lang_Click(int index);
    QWidget* buildConnectionPage();
    QWidget* buildWorkspacePage();

    AppContext& ctx_;
    const ShellProcedures& procs_;
    LanguageSwitch& languages_;
    const PictureList& pictures_;

    QStackedWidget* pages_;
    QGroupBox *frm_opt0, *frm_opt1, *Frame1, *Frame2, *Frame3, *Frame4, *frmTCP, *frmCOM;
    QLabel *Label1, *Label2, *Label5, *Label6, *Label7, *lbl_baud, *lbl_timeoutTCP, *lbl_stop,
        *lbl_timeoutCOM;
    QLabel *lbl_tempo, *Label3;
    QComboBox *Combo1, *cmbCOM, *cmbBaud;
    QLineEdit *txt_address, *txt_IP, *txt_port, *txt_timeoutTCP, *txt_timeoutCOM, *txt_modemNumber;
    QRadioButton *optChannel[2], *optStop[2], *opt_lang[2];
    QButtonGroup *channelGroup_, *languageGroup_;
    QCheckBox *chk_header, *chk_autoricezione, *chk_Modem, *chk_Update;
    QSlider* Slider1;
    QPushButton* cmd_ok[2];
};
