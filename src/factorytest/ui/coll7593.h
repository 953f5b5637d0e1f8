#pragma once
// coll7593: the analog module calibration bench window, a thin view over CalibrationBench. The model
// list, the instruments' COM ports, the check list with a run button, a colour cell and result labels
// per row, START and STOP, the duration of the last run and the EEPROM download's progress (with the
// busy pointer while it runs).
#include <QWidget>
#include <array>

#include "factorytest/calibration_bench/calibration_bench.h"
#include "program/ui/transfer_widgets.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QGroupBox;

class Coll7593 : public QWidget {
    Q_OBJECT
  public:
    Coll7593(CalibrationBench& bench, QWidget* parent = nullptr);
    ~Coll7593() override;

    struct RowControls {
        QCheckBox* chk_coll;
        QPushButton* cmd_coll;
        QLabel* pic_coll_cella;
        std::array<QLabel*, 7> labels; // zero, half, span, K, K zero, K span, span 2
    };
    QListWidget* lst_device = nullptr;
    QPushButton* cmd_start = nullptr;
    QPushButton* cmd_stop = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label5 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QGroupBox* frm_7593 = nullptr;
    std::array<QSpinBox*, 4> portNumbers{}; // relay unit, multimeter, power supply, calibrator
    std::array<RowControls, BenchRowCount> rows{};

  private:
    void refresh();
    QWidget* buildPorts();
    QWidget* buildCheckList();

    CalibrationBench& bench_;
    ApplicationBusyPointer pointer_;
};
