// PreparaStrumenti and the relay routing of a step.
#include "factorytest/calibration_bench/calibration_bench.h"

void CalibrationBench::PreparaStrumenti() {
    const StepParams& p = state.Step;
    if (p.StepCode == 254 || p.StepCode == 252)
        instruments.Conf_Mult("REM", "VOLT");
    else if (p.StepCode == 253)
        instruments.Conf_Mult("REM", "CURR");
    else
        instruments.ChiediCalibratore(p.StepCode, p.CalValue);
    if (state.BenchModel >= 0 && state.BenchModel <= 2)
        InstradaRele();
    else if (state.BenchModel == 3)
        InstradaRele3();
    pausa(2);
}

namespace {

// Every relay open, then the two common returns closed: no route of an earlier step survives.
void openAll(BenchInstruments& in) {
    for (int ch = 1; ch <= 16; ++ch) {
        in.Rele(1, ch, false);
        in.Rele(2, ch, false);
    }
    in.Rele(1, 17, true);
    in.Rele(2, 17, true);
}

} // namespace

void CalibrationBench::InstradaRele() {
    ports.Seriale_switch.open(ports.Devices);
    const StepParams& p = state.Step;
    auto close = [this](int ch) { instruments.Rele(1, ch, true); };
    openAll(instruments);
    switch (p.StepCode) {
    case 1:
    case 2:
    case 5:
        close(4 + p.RelayOffset), close(9), close(13 + p.RelayGroup);
        break;
    case 12:
    case 18:
        if (state.BenchModel == 0 || state.BenchModel == 1)
            close(10), close(11), close(6), close(13 + p.RelayGroup);
        else if (state.BenchModel == 2)
            close(10 + p.RelayOffset), close(6), close(13 + p.RelayGroup);
        break;
    case 3:
        close(1 + p.RelayOffset), close(6), close(13 + p.RelayGroup);
        break;
    case 17:
        close(10), close(5), instruments.Rele(1, 17, false), close(13 + p.RelayGroup);
        break;
    case 254:
        instruments.Rele(2, 4, true);
        break;
    case 253:
        instruments.Rele(2, 3, true);
        instruments.Rele(2, 4, false);
        instruments.Rele(2, 5, p.RelayGroup != 0);
        break;
    default:
        break;
    }
}

void CalibrationBench::InstradaRele3() {
    const StepParams& p = state.Step;
    auto close = [this](int ch) { instruments.Rele(1, ch, true); };
    openAll(instruments);
    bool input = true;
    switch (p.StepCode) {
    case 1:
    case 5:
        close(6), close(15);
        break;
    case 12:
    case 18:
        close(4), close(8), close(14);
        break;
    case 2:
        close(2), close(11);
        break;
    case 3:
        close(14), close(7);
        break;
    case 17:
        close(8), close(14);
        break;
    case 254:
        instruments.Rele(2, 1, true);
        input = false;
        break;
    case 253:
        close(14), close(7), instruments.Rele(1, 17, false);
        instruments.Rele(2, 4, true);
        instruments.Rele(2, 2, true);
        input = false;
        break;
    default:
        input = false;
        break;
    }
    if (input && p.RelayGroup == 1) instruments.Rele(1, 17, false);
}
