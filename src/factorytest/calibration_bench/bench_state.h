#pragma once
// The form-level state of the calibration bench: model, step parameters, and what the window shows.
#include <array>
#include <cstdint>
#include <string>

#include "factorytest/calibration_bench/bench_tables.h"
#include "factorytest/instruments/bench_colours.h"

struct StepParams {
    uint8_t CalNode = 0;
    uint8_t InputChannel = 0;
    uint8_t RelayGroup = 0;
    uint8_t RelayOffset = 0;
    int16_t MeasureRegister = 0;
    uint8_t ConstIndex = 0;
    uint8_t StepCode = 0;
    double ZeroPoint = 0, HalfPoint = 0, SpanPoint = 0;
    double CalValue = 0;
    int16_t ScaleDivisor = 0;
    double Tolerance = 0;
    double LastReading = 0;
    double CalOffset = 0;
};

struct BenchLabel {
    bool Exists = false;
    bool Visible = true;
    std::string Text = "0";
    uint32_t Colour = ColourWhite;
};

struct BenchRow {
    std::string Caption;
    bool Ticked = false;
    uint32_t Cell = ColourWhite;
    BenchLabel Zero, Half, Span, K, KZero, KSpan, Span2;
};

struct BenchState {
    int16_t BenchModel = 0;
    uint8_t ModuleNode = 0;
    bool StopFlag = false;
    double StartTime = 0; // seconds on the pump's clock
    bool ProgInputsMode = false;
    StepParams Step;

    bool ModelChosen = false;  // frm_7593 available
    bool Running = false;      // a run or a single row is going: nothing else may start one
    bool ModuleFailed = false; // the image download failed: this module's calibration goes no further
    std::array<BenchRow, BenchRowCount> Rows{};
    std::string Label5 = "Select Device";
    std::string Label1; // duration of the last run, minutes:seconds
    int Progress = 0;   // EEPROM download, percent
};

// The value with that many decimals: "100.30".
std::string FixedText(double value, int decimals);
// The largest integer not above value x scale. A product within a billionth of the integer above is
// taken as that integer: it is a decimal reading that binary fractions cannot hold exactly.
double FloorScaled(double value, double scale);
// A check's deviation lies within its allowance, the allowance itself included: a billionth more is taken
// as the allowance, since decimal readings and targets that binary fractions cannot hold exactly land a
// few units of the last place beside it.
bool WithinAllowance(double deviation, double allowance);
// The cold-junction correction in raw units, floor((tamb - raw / scaleDivisor) x scaleDivisor), worked
// out in whole hundredths of a degree, the calibrator's own resolution, so that no binary fraction moves
// it by a count: 23.40 degrees against a raw 230 at 10 a degree is 4.
int64_t CjcCorrection(double tamb, double raw, int scaleDivisor);
// "m:s" without leading zeros: 187 s gives 3:7.
std::string DurationText(double seconds);
