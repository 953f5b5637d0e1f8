#pragma once
// frm_collaudo: the controller test bench window, a thin view over ControllerBench. The unit's model
// and port, the instruments' modes, the Init steps with the download progress, the Base steps with the
// exchange counter, the eight I/O indicators and the clock fields; START and STOP.
#include <array>
#include <QWidget>

#include "factorytest/controller_bench/controller_bench.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QProgressBar;
class QPushButton;
class Lamp;

class frm_collaudo : public QWidget {
    Q_OBJECT
  public:
    frm_collaudo(ControllerBench& bench, const std::array<std::string, 4>& models,
                 const std::array<std::string, 12>& months, QWidget* parent = nullptr);
    ~frm_collaudo() override;

    QPushButton* cmd_start = nullptr;
    QPushButton* Command1 = nullptr;
    std::array<QCheckBox*, 2> chk_controlli{};
    std::array<QCheckBox*, CollaudoSteps> chk_collaudo{};
    std::array<Lamp*, CollaudoLeds> led{};
    QLabel* Label2 = nullptr;
    QComboBox *txt_giorno = nullptr, *txt_mese = nullptr, *txt_anno = nullptr;
    QLineEdit *txt_ore = nullptr, *txt_min = nullptr, *txt_sec = nullptr;
    QComboBox *txt_eut_mod = nullptr, *txt_eut_port = nullptr, *txt_mult_port = nullptr,
              *txt_alim_port = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    // Consumption steps 0 and 2: their limits in mA (empty: none) and their last reading.
    std::array<QLineEdit*, 2> txt_cons_min{}, txt_cons_max{};
    std::array<QLabel*, 2> lbl_consumo{};

  private:
    QWidget* buildEut(const std::array<std::string, 4>& models);
    QWidget* buildControlli();
    QWidget* buildBase(const std::array<std::string, 12>& months);
    QCheckBox* step(int index);
    QLayout* consumptionRow(int which);
    void refresh();

    ControllerBench& bench_;
};
