#pragma once
// frm_Config2: draws a ConfigWindow and forwards the user's clicks to it.
#include <array>
#include <QIcon>
#include <QWidget>
#include <utility>
#include <vector>

#include "devconfig/config_window.h"

class QCalendarWidget;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;

class frm_Config2 : public QWidget {
    Q_OBJECT
  public:
    // The calendar button shows calendarPicture, or "..." without one.
    frm_Config2(ConfigWindow& model, const QIcon& calendarPicture = {}, QWidget* parent = nullptr);
    ~frm_Config2() override;

    ConfigWindow& model() { return model_; }
    QTabBar* tabs() const { return TabStrip1; }
    QComboBox* modelList() const { return modello; }

  private:
    void draw();
    QWidget* buildSystem();
    QWidget* buildEthernet();
    QWidget* buildComm();
    QWidget* buildAnalogIn();
    QWidget* buildAnalogOut();
    QWidget* buildDigitalIn();
    QWidget* buildDigitalOut();
    QWidget* buildTrip();
    void drawAnalogIn();
    void drawPorts();
    // A control whose caption comes from the window's texts.
    template <class W> W* captioned(W* widget, const char* control) {
        captioned_.emplace_back(widget, control);
        return widget;
    }

    ConfigWindow& model_;
    std::vector<std::pair<QWidget*, const char*>> captioned_;
    QLineEdit* Indirizzo;
    QComboBox* modello;
    QLabel* Label1[2];
    QPushButton *cmd_Read0, *cmd_start, *cmd_stop, *cmd_sync;
    QTabBar* TabStrip1;
    std::array<QWidget*, 8> pages_{};
    // System
    QGroupBox *frm_Disp, *frm_RTC, *frm_PupSafe, *Frm_Prog;
    QComboBox *txt_giorno, *txt_mese, *txt_anno;
    QPushButton* cmd_calendar;
    QCalendarWidget* MonthView1;
    std::array<QFrame*, 3> Led_Ev{};
    // Comm
    std::array<QGroupBox*, 2> Frm_com{};
    std::array<QComboBox*, 2> cmb_baud{}, cmb_par{}, cmb_stop{};
    std::array<QLabel*, 2> parLabel{}, stopLabel{};
    // Analog In
    QLabel* Label9[7];
    QPushButton* cmd_Invia6;
    std::array<QComboBox*, 8> cmb_InputType{};
    std::array<std::array<QWidget*, 7>, 8> aiRow{}; // per row: the controls in AiControl bit order
    // Analog Out
    QGroupBox* frm_AO;
    std::array<QComboBox*, 8> cmb_Out{};
    std::array<std::array<QWidget*, 3>, 8> outRow{};
    std::array<QLineEdit*, 8> txt_Safe{};
    // Digital In, Digital Out
    std::array<QGroupBox*, 16> DI{};
    std::array<QGroupBox*, 8> frm_dout_ch{};
};
