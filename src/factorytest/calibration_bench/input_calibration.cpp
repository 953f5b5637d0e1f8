// Calibration and checks of an input channel: type selection, gain constant K, one- and three-point checks.
#include <cmath>

#include "core/app_context.h"
#include "factorytest/calibration_bench/calibration_bench.h"

namespace {

// Type codes written at memory 11 + ConstIndex on models 1 and 2: input steps, and the cold-junction step.
int typeCode(int stepCode, bool cjc) {
    switch (stepCode) {
    case 1:
        return 1;
    case 2:
        return cjc ? -1 : 7;
    case 3:
        return cjc ? -1 : 8;
    case 5:
        return cjc ? 25 : -1;
    case 12:
        return 17;
    default:
        return -1;
    }
}

// The potentiometer reads in percent of its travel; its set points are mapped after the reading.
double potTarget(double target) {
    if (target == 0) return 100;
    if (target == 1700) return 75;
    if (target == 5000) return 50;
    return target;
}

} // namespace

std::optional<double> CalibrationBench::reading(int16_t reg) {
    const auto raw = link_.readRegister(state.ModuleNode, reg);
    if (!raw) return std::nullopt;
    // The 100 mV range is signed.
    if (state.Step.StepCode == 1 && *raw >= 32768) return *raw - 65536.0;
    return *raw;
}

bool CalibrationBench::selectInputType(bool cjc) {
    const StepParams& p = state.Step;
    switch (state.BenchModel) {
    case 0:
        return link_.writeRegister(state.ModuleNode, 1216, p.StepCode * (p.InputChannel == 1 ? 256 : 1));
    case 1:
    case 2: {
        // A code without a type byte writes nothing rather than a stale byte.
        const int code = typeCode(p.StepCode, cjc);
        if (code < 0) {
            app_.shell.log.LogStart();
            app_.shell.log.LogWrite("Step code " + std::to_string(p.StepCode) +
                                    " has no input type code: no type byte written");
            return true;
        }
        const uint8_t byte = static_cast<uint8_t>(code);
        return link_.writeMemory(p.CalNode, static_cast<uint16_t>(11 + p.ConstIndex), {&byte, 1});
    }
    case 3:
        for (;;) {
            const auto dips = link_.readRegister(255, 8);
            if (!dips) return false; // an unread switch state is not "all off"
            if (*dips == 0) break;
            // Cancel leaves the prompt: the step fails.
            if (app_.dialogs.messageBox("Impostare tutti i dip-switch su OFF", MsgButtons::OkCancel) !=
                MsgChoice::Ok)
                return false;
        }
        return link_.writeRegister(state.ModuleNode, 1216, p.StepCode);
    default:
        return true;
    }
}

bool CalibrationBench::CalibraIngresso(int index) {
    StepParams& p = state.Step;
    BenchLabel& k = row(index).K;
    link_.writeRegister(link_.node(), 17, 255);
    pausa(1);
    colour(k, ColourYellow);
    if (!selectInputType(false)) {
        fail(k, "Input type not selected on the module");
        return false;
    }
    pausa(4);
    if (p.StepCode == 17) return true; // the potentiometer has no constant: the label stays yellow
    ScriviCostante3(p.CalNode, p.ConstIndex, 1.0);
    instruments.ChiediCalibratore(p.StepCode, p.CalValue + p.CalOffset);
    pausa(3);
    const auto raw = reading(p.MeasureRegister);
    if (!raw) {
        fail(k, "Register " + std::to_string(p.MeasureRegister) + " not read: no constant written");
    } else if (*raw <= 0) {
        // A K of 0 would silence the channel: the constant stays at 1.
        fail(k, "Register " + std::to_string(p.MeasureRegister) + " reads " + FixedText(*raw, 0) +
                    ": no constant written");
    } else {
        const double r = *raw / p.ScaleDivisor;
        const double K = p.CalValue / r;
        colour(k, WithinAllowance(1 - K, 0.1) ? ColourGreen : ColourRed,
               FixedText(r, 2) + " (" + FixedText(K, 4) + ")");
        ScriviCostante3(p.CalNode, p.ConstIndex, K);
    }
    link_.writeRegister(link_.node(), 17, 0);
    pausa(1);
    return true;
}

bool CalibrationBench::MisuraPunto(double& target) {
    StepParams& p = state.Step;
    std::optional<double> v;
    if (p.StepCode == 254) {
        pausa(1);
        v = instruments.GetMult();
    } else if (p.StepCode == 253 || p.StepCode == 252) {
        link_.writeRegister(state.ModuleNode, static_cast<int16_t>(32 + p.RelayGroup),
                            p.ScaleDivisor * target);
        pausa(2);
        if (auto mult = instruments.GetMult()) v = p.ScaleDivisor * *mult;
    } else {
        instruments.ChiediCalibratore(p.StepCode, target);
        pausa(2);
        v = reading(p.MeasureRegister);
        if (!v) {
            app_.shell.log.LogStart();
            app_.shell.log.LogWrite("Register " + std::to_string(p.MeasureRegister) + " not read");
        }
    }
    if (p.StepCode == 17) target = potTarget(target);
    if (!v) return false;
    p.LastReading = *v / p.ScaleDivisor;
    return WithinAllowance(p.LastReading - target, p.Tolerance);
}

void CalibrationBench::MisuraK(int index) {
    StepParams& p = state.Step;
    BenchLabel& k = row(index).K;
    colour(k, ColourYellow);
    p.LastReading = NAN;
    const bool ok = MisuraPunto(p.CalValue);
    colour(k, ok ? ColourGreen : ColourRed, std::isnan(p.LastReading) ? "----" : FixedText(p.LastReading, 2));
}

void CalibrationBench::MisuraTrePunti(int index) {
    StepParams& p = state.Step;
    BenchRow& r = row(index);
    for (BenchLabel* l : {&r.Zero, &r.Half, &r.Span})
        colour(*l, ColourYellow);
    pausa(1);
    const std::array<std::pair<double*, BenchLabel*>, 3> points{
        {{&p.ZeroPoint, &r.Zero}, {&p.HalfPoint, &r.Half}, {&p.SpanPoint, &r.Span}}};
    for (size_t i = 0; i < points.size(); ++i) {
        p.LastReading = NAN;
        const bool ok = MisuraPunto(*points[i].first);
        colour(*points[i].second, ok ? ColourGreen : ColourRed,
               std::isnan(p.LastReading) ? "----" : FixedText(p.LastReading, 3));
        if (i < 2 && state.StopFlag) return;
    }
}
