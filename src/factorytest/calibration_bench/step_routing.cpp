// PreparaStrumenti and the relay routing of a step.
#include "factorytest/calibration_bench/calibration_bench.h"

bool CalibrationBench::PreparaStrumenti() {
    const StepParams& p = state.Step;
    if (p.StepCode == 254 || p.StepCode == 252)
        instruments.Conf_Mult("REM", "VOLT");
    else if (p.StepCode == 253)
        instruments.Conf_Mult("REM", "CURR");
    else
        instruments.ChiediCalibratore(p.StepCode, p.CalValue);
    bool routed = true;
    if (state.BenchModel >= 0 && state.BenchModel <= 2)
        routed = InstradaRele();
    else if (state.BenchModel == 3)
        routed = InstradaRele3();
    pausa(2);
    return routed;
}

namespace {

// Sends relay commands and remembers whether every one went out.
struct Router {
    BenchInstruments& in;
    bool sent = true;
    void set(int slot, int ch, bool closed) { sent = in.Rele(slot, ch, closed) && sent; }
    void close(int ch) { set(1, ch, true); }
    // Every relay open, then the two common returns closed: no route of an earlier step survives.
    void openAll() {
        for (int ch = 1; ch <= 16; ++ch)
            set(1, ch, false), set(2, ch, false);
        set(1, 17, true), set(2, 17, true);
    }
};

} // namespace

bool CalibrationBench::InstradaRele() {
    if (!instruments.relayPortOpen()) return false;
    const StepParams& p = state.Step;
    Router r{instruments};
    r.openAll();
    switch (p.StepCode) {
    case 1:
    case 2:
    case 5:
        r.close(4 + p.RelayOffset), r.close(9), r.close(13 + p.RelayGroup);
        break;
    case 12:
    case 18:
        if (state.BenchModel == 0 || state.BenchModel == 1)
            r.close(10), r.close(11), r.close(6), r.close(13 + p.RelayGroup);
        else if (state.BenchModel == 2)
            r.close(10 + p.RelayOffset), r.close(6), r.close(13 + p.RelayGroup);
        break;
    case 3:
        r.close(1 + p.RelayOffset), r.close(6), r.close(13 + p.RelayGroup);
        break;
    case 17:
        r.close(10), r.close(5), r.set(1, 17, false), r.close(13 + p.RelayGroup);
        break;
    case 254:
        r.set(2, 4, true);
        break;
    case 253:
        r.set(2, 3, true);
        r.set(2, 4, false);
        r.set(2, 5, p.RelayGroup != 0);
        break;
    default:
        break;
    }
    return r.sent;
}

bool CalibrationBench::InstradaRele3() {
    if (!instruments.relayPortOpen()) return false;
    const StepParams& p = state.Step;
    Router r{instruments};
    r.openAll();
    bool input = true;
    switch (p.StepCode) {
    case 1:
    case 5:
        r.close(6), r.close(15);
        break;
    case 12:
    case 18:
        r.close(4), r.close(8), r.close(14);
        break;
    case 2:
        r.close(2), r.close(11);
        break;
    case 3:
        r.close(14), r.close(7);
        break;
    case 17:
        r.close(8), r.close(14);
        break;
    case 254:
        r.set(2, 1, true);
        input = false;
        break;
    case 253:
        r.close(14), r.close(7), r.set(1, 17, false);
        r.set(2, 4, true);
        r.set(2, 2, true);
        input = false;
        break;
    default:
        input = false;
        break;
    }
    if (input && p.RelayGroup == 1) r.set(1, 17, false);
    return r.sent;
}
