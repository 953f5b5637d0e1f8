// Cold-junction calibration: the correction byte from the calibrator's reference temperature, and its check.
#include <cmath>
#include <cstdlib>
#include <string>

#include "core/app_context.h"
#include "factorytest/calibration_bench/calibration_bench.h"

namespace {

// A reference temperature of whole hundredths in tenths, a half away from zero: 23.45 is "23.5".
std::string TenthsText(double degrees) {
    const long long hundredths = std::llround(degrees * 100);
    const long long tenths = (hundredths + (hundredths < 0 ? -5 : 5)) / 10;
    return (tenths < 0 ? "-" : "") + std::to_string(std::llabs(tenths) / 10) + "." +
           std::to_string(std::llabs(tenths) % 10);
}

} // namespace

int64_t CjcCorrection(double tamb, double raw, int scaleDivisor) {
    const int64_t scaled = std::llround(tamb * 100) * scaleDivisor - 100 * std::llround(raw);
    return scaled >= 0 ? scaled / 100 : -((-scaled + 99) / 100);
}

bool CalibrationBench::CalibraCJC(int index) {
    StepParams& p = state.Step;
    BenchLabel& k = row(index).K;
    colour(k, ColourYellow);
    link_.writeRegister(link_.node(), 17, 255);
    auto done = [&](const std::string& failure) {
        if (!failure.empty()) fail(k, failure);
        link_.writeRegister(link_.node(), 17, 0);
        return true;
    };
    if (!selectInputType(true)) return !done("Input type not selected on the module");
    uint8_t correction = 0;
    link_.writeMemory(p.CalNode, 8, {&correction, 1});
    instruments.ChiediCalibratore(p.StepCode, p.CalValue + p.CalOffset);
    pausa(4);
    const auto raw = reading(p.MeasureRegister);
    if (!raw)
        return done("Register " + std::to_string(p.MeasureRegister) + " not read: no correction written");
    const auto t = instruments.GetTamb();
    if (!t) return done("No reference temperature from the calibrator: no correction written");
    const int64_t c = CjcCorrection(*t, *raw, p.ScaleDivisor);
    // One signed byte: a correction beyond it is refused and the cleared byte is written again.
    const bool fits = c >= -128 && c <= 127;
    correction = fits ? static_cast<uint8_t>(c < 0 ? 256 + c : c) : 0;
    const std::string caption = TenthsText(*t) + " [" + std::to_string(correction) + "]";
    if (fits) {
        colour(k, ColourYellow, caption);
    } else {
        app_.shell.log.LogStart();
        app_.shell.log.LogWrite("Cold-junction correction " + std::to_string(c) +
                                " outside -128..127: 0 written");
        colour(k, ColourRed, caption);
    }
    link_.writeMemory(p.CalNode, 8, {&correction, 1});
    return done({});
}

void CalibrationBench::MisuraCJC(int index) {
    StepParams& p = state.Step;
    BenchLabel& zero = row(index).Zero;
    instruments.ChiediCalibratore(p.StepCode, p.CalValue);
    pausa(1);
    const auto raw = reading(p.MeasureRegister);
    if (!raw) return fail(zero, "Register " + std::to_string(p.MeasureRegister) + " not read");
    const double r = *raw / p.ScaleDivisor;
    const auto t = instruments.GetTamb();
    if (!t) return fail(zero, "No reference temperature from the calibrator");
    colour(zero, WithinAllowance(*t - r, p.ScaleDivisor * p.Tolerance) ? ColourGreen : ColourRed,
           FixedText(r, 1));
}
