#pragma once
// ConfJXV4174 ("Collaudo JXV4174"): the four-channel input module calibration window, a thin view over
// MultiChannelConfig. Model and input type, the channels' type codes and readings with Read/Start/Stop,
// the offset and K grid of the sixteen slots, the CJC offsets and the K calculator.
#include <array>
#include <QWidget>

#include "factorytest/multichannel_config/multichannel_config.h"
#include "factorytest/ui/field_bindings.h"

class QComboBox;
class QLineEdit;
class QPushButton;

class ConfJXV4174 : public QWidget {
    Q_OBJECT
  public:
    explicit ConfJXV4174(MultiChannelConfig& config, QWidget* parent = nullptr);
    ~ConfJXV4174() override;

    QComboBox* device_ty = nullptr;
    QComboBox* input_ty = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    std::array<QLineEdit*, CjcCount> txt_OffsetCJC{};

  private:
    QWidget* buildMeasure();
    QWidget* buildGrid();
    QWidget* buildCjc();
    void refresh();

    MultiChannelConfig& config_;
    FieldBindings fields_;
};
