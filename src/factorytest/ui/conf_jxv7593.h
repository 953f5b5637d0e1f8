#pragma once
// ConfJXV7593 ("Collaudo JXV7209"): the analog module configuration window, a thin view over
// AnalogConfig. One row per channel (offset, input type, raw code, multiplexer boxes, gain, enable, and
// the K frame), the module's counts and slave address, the default sets, the controller frame, the
// analog outputs, the K calculator and the switching run.
#include <array>
#include <QWidget>

#include "factorytest/analog_config/analog_config.h"
#include "factorytest/ui/field_bindings.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

class ConfJXV7593 : public QWidget {
    Q_OBJECT
  public:
    explicit ConfJXV7593(AnalogConfig& config, QWidget* parent = nullptr);
    ~ConfJXV7593() override;

    std::array<QComboBox*, ChannelCount> cmb_InputType{};
    std::array<std::array<QCheckBox*, ChannelCount>, 8> chk_Mux{}; // [bit][channel]
    std::array<QPushButton*, 9> SetDefault{};
    QLabel* Label7 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command11 = nullptr;

  private:
    QWidget* buildChannels();
    QWidget* buildModule();
    QWidget* buildSets();
    QWidget* buildService();
    void refresh();

    AnalogConfig& config_;
    FieldBindings fields_;
};
