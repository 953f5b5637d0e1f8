#pragma once
// frm_Q7R218: the energy-meter reader, a thin view over EnergyMeterReader. The meter's address,
// Update/Start/Stop and one list per register block.
#include <array>
#include <QStringList>
#include <QWidget>

#include "factorytest/energy_meter/energy_meter_reader.h"
#include "factorytest/ui/field_bindings.h"

class QTreeWidget;
class QPushButton;

class frm_Q7R218 : public QWidget {
    Q_OBJECT
  public:
    explicit frm_Q7R218(EnergyMeterReader& reader, QWidget* parent = nullptr);
    ~frm_Q7R218() override;

    QPushButton* cmd_Read = nullptr;
    QPushButton* cmd_start = nullptr;
    QPushButton* cmd_stop = nullptr;
    // In block order: List1, List5, List6, List2, List3, List4. Each row's text is split at its TABs
    // into aligned columns (name, register, value).
    std::array<QTreeWidget*, 6> lists{};

  private:
    void refresh();

    EnergyMeterReader& reader_;
    FieldBindings fields_;
};
