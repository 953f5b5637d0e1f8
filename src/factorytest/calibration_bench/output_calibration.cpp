// Output calibration (zero and span constants) and the digital input and output tests.
#include <charconv>
#include <cmath>

#include "core/app_context.h"
#include "factorytest/calibration_bench/calibration_bench.h"

bool CalibrationBench::CalibraUscita(int index) {
    StepParams& p = state.Step;
    BenchRow& r = row(index);
    link_.writeRegister(link_.node(), 17, 255);
    colour(r.KZero, ColourYellow);
    colour(r.KSpan, ColourYellow);
    link_.setDebugMode(true);
    if (state.BenchModel == 3 && !selectInputType(false)) {
        fail(r.KZero, "Output type not selected on the module");
        colour(r.KSpan, ColourRed);
        link_.setDebugMode(false);
        return false;
    }
    pausa(0.5);
    ScriviValore16(state.ModuleNode, p.RelayGroup, 0, static_cast<int32_t>(std::floor(p.CalValue)));
    pausa(2);
    // Zero, then span: the module drives the output, or on JXV2569 the operator sets it.
    auto measure = [&](double value, BenchLabel& label) -> std::optional<double> {
        if (state.BenchModel == 3)
            instruments.ChiediCalibratore(p.StepCode, value);
        else
            link_.writeRegister(state.ModuleNode, p.MeasureRegister, value);
        const auto v = instruments.GetMult();
        if (v) colour(label, ColourYellow, FixedText(*v, 3));
        return v;
    };
    const auto zero = measure(0, r.KZero);
    const auto span = measure(p.CalValue, r.KSpan);
    // The labels keep their yellow and the readings when the constants are written.
    if (!zero || !span) {
        // A label without its reading never keeps the yellow of one.
        if (!span) colour(r.KSpan, ColourRed, "----");
        fail(!zero ? r.KZero : r.KSpan, "Output not measured: no constants written");
    } else {
        const double zc = FloorScaled(*zero, p.ScaleDivisor), sc = FloorScaled(*span, p.ScaleDivisor);
        auto fits = [](double c) { return c >= -32768 && c <= 32767; };
        if (!fits(zc) || !fits(sc)) {
            colour(r.KZero, ColourRed);
            colour(r.KSpan, ColourRed);
            tell("Output constants " + FixedText(zc, 0) + " and " + FixedText(sc, 0) +
                 " do not fit -32768..32767: nothing written");
        } else if (!ScriviValore16(state.ModuleNode, p.RelayGroup, static_cast<int32_t>(zc),
                                   static_cast<int32_t>(sc))) {
            fail(r.KSpan, "Output constants not written");
        }
    }
    link_.setDebugMode(false);
    return true;
}

void CalibrationBench::relinkAt38400() {
    const std::string baud = link_.baudRate();
    int value = 0;
    const auto [end, ec] = std::from_chars(baud.data(), baud.data() + baud.size(), value);
    if (ec == std::errc() && end == baud.data() + baud.size() && value == 38400) return;
    link_.setBaudRate("38400");
    link_.reconnect();
}

namespace {

constexpr std::array<uint16_t, 3> DigitalSignals{256, 512, 1024};
constexpr uint16_t DigitalMask = 3840;

} // namespace

void CalibrationBench::VerificaUscita(int index) {
    BenchRow& r = row(index);
    relinkAt38400();
    link_.writeRegister(link_.node(), 17, 0);
    const std::array<BenchLabel*, 3> labels{&r.Zero, &r.Half, &r.Span};
    for (BenchLabel* l : labels)
        colour(*l, ColourYellow);
    link_.writeRegister(10, 9, 0);
    pausa(1);
    for (size_t i = 0; i < labels.size(); ++i) {
        link_.writeRegister(10, 9, DigitalSignals[i]);
        pausa(1);
        const auto in = link_.readRegister(state.ModuleNode, 8);
        if (!in)
            fail(*labels[i], "Digital inputs of the module not read");
        else
            colour(*labels[i], (*in & DigitalMask) == DigitalSignals[i] ? ColourGreen : ColourRed);
    }
    link_.writeRegister(10, 9, 0);
    pausa(0.5);
    link_.writeRegister(link_.node(), 17, 255);
}

void CalibrationBench::VerificaUscita2(int index) {
    BenchRow& r = row(index);
    link_.writeRegister(link_.node(), 17, 0);
    row(13).Span2.Visible = false;
    const std::array<BenchLabel*, 3> labels{&r.Zero, &r.Half, &r.Span};
    for (BenchLabel* l : labels)
        colour(*l, ColourYellow);
    relinkAt38400();
    link_.writeRegister(state.ModuleNode, 9, 0);
    pausa(2);
    for (size_t i = 0; i < labels.size(); ++i) {
        link_.writeRegister(state.ModuleNode, 9, DigitalSignals[i]);
        pausa(1);
        const auto in = link_.readRegister(10, 8);
        if (!in)
            fail(*labels[i], "Digital inputs of the bench I/O (node 10) not read");
        else
            colour(*labels[i], (*in & DigitalMask) == DigitalSignals[i] ? ColourGreen : ColourRed);
    }
    link_.writeRegister(state.ModuleNode, 9, 0);
    link_.writeRegister(link_.node(), 17, 255);
}
