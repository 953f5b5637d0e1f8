// The four models' step procedures: the "Eprom" rows, and the frame around every measurement row.
#include <span>

#include "core/app_context.h"
#include "factorytest/calibration_bench/calibration_bench.h"

namespace {

const RowParams* findRow(std::span<const RowParams> rows, int index) {
    for (const RowParams& r : rows)
        if (r.Row == index) return &r;
    return nullptr;
}

template <class T> void set(T& field, int value) {
    if (value != Keep) field = static_cast<T>(value);
}

} // namespace

bool CalibrationBench::applyRow(const RowParams& r, int index) {
    StepParams& p = state.Step;
    // Each row starts from its own offset, never from an earlier row's.
    p.CalOffset = r.CalOffset;
    if (r.Procs == RowProcs::DigIn || r.Procs == RowProcs::DigOut) return true;
    set(p.CalNode, r.CalNode);
    set(p.MeasureRegister, r.MeasureRegister);
    set(p.InputChannel, r.InputChannel);
    set(p.RelayGroup, r.RelayGroup);
    set(p.RelayOffset, r.RelayOffset);
    set(p.ConstIndex, r.ConstIndex);
    set(p.StepCode, r.StepCode);
    p.ZeroPoint = r.ZeroPoint, p.HalfPoint = r.HalfPoint, p.SpanPoint = r.SpanPoint;
    p.ScaleDivisor = static_cast<int16_t>(r.ScaleDivisor);
    p.Tolerance = r.Tolerance;
    if (r.CalValue != CalFromTamb) {
        p.CalValue = r.CalValue;
        return true;
    }
    const auto t = instruments.GetTamb();
    if (!t) {
        fail(row(index).K, "No reference temperature from the calibrator: row not run");
        return false;
    }
    p.CalValue = *t;
    return true;
}

bool CalibrationBench::runProcedures(const RowParams& r, int index) {
    if (r.Procs == RowProcs::DigIn || r.Procs == RowProcs::DigOut) {
        r.Procs == RowProcs::DigIn ? VerificaUscita(index) : VerificaUscita2(index);
        return true;
    }
    if (!PreparaStrumenti()) {
        BenchRow& row = this->row(index);
        fail(row.K.Exists ? row.K : row.KZero,
             "Relays of row " + std::to_string(index) + " not set: row not measured");
        return false;
    }
    switch (r.Procs) {
    case RowProcs::Input:
        if (!CalibraIngresso(index)) return false;
        MisuraTrePunti(index);
        return true;
    case RowProcs::Pot: {
        app_.dialogs.messageBox("Chiudere Switch Pot", MsgButtons::Ok);
        const bool selected = CalibraIngresso(index);
        if (selected) MisuraTrePunti(index);
        app_.dialogs.messageBox("Aprire Switch Pot", MsgButtons::Ok);
        return selected;
    }
    case RowProcs::Cjc:
        if (!CalibraCJC(index)) return false;
        MisuraCJC(index);
        return true;
    case RowProcs::Vaux:
        MisuraK(index);
        return true;
    case RowProcs::Output:
        if (!CalibraUscita(index)) return false;
        MisuraTrePunti(index);
        return true;
    default:
        return true;
    }
}

// Rows 1..10 of JXV7593 and KELMO4751: the link at 38400 baud unless the "Eprom" row runs too,
// register 17 set, and the constants blocks before KELMO4751's first two rows.
void CalibrationBench::measurementFrame(bool blocks2) {
    if (!row(0).Ticked) relinkAt38400();
    link_.writeRegister(link_.node(), 17, 255);
    pausa(1);
    if (blocks2) PreparaBloccoCostanti2();
}

void CalibrationBench::resetConstants(bool kelmo) {
    const std::string model = BenchModels[static_cast<size_t>(state.BenchModel)].ListText;
    for (const uint8_t node : {247, 246}) {
        state.Label5 = model + "- Scrittura costanti INDIRIZZO " + std::to_string(node);
        changed();
        if (node == 247) {
            link_.writeRegister(link_.node(), 17, 255);
            if (kelmo) PreparaBloccoCostanti2();
            pausa(1);
        }
        state.Step.CalNode = node;
        for (uint8_t k = 0; k < 8; ++k) {
            ScriviCostante3(node, k, 1.0);
            pausa(2.5);
        }
    }
}

bool CalibrationBench::imageRelayClosed() {
    if (instruments.Rele(2, 6, true)) return true;
    // Without the relay the module does not take its image: the download is not tried.
    tell("The relay unit did not take relay 2-06: no EEPROM image written. The module's calibration ends.");
    return false;
}

bool CalibrationBench::downloaded(int index, bool loaded) {
    cell(index, loaded ? ColourWhite : ColourRed);
    if (!loaded) state.ModuleFailed = true;
    return loaded;
}

void CalibrationBench::eepromRow(int index, bool kelmo) {
    if (kelmo) instruments.spegni_alim();
    cell(index, ColourBlue);
    if (kelmo) {
        state.Label5 = std::string(BenchModels[1].ListText) + " - Test " + row(index).Caption;
        changed();
    }
    bool loaded = imageRelayClosed();
    if (kelmo) {
        pausa(1);
        instruments.accendi_alim();
    }
    link_.setBaudRate("9600");
    link_.setDebugMode(true);
    pausa(2);
    loaded = loaded && CaricaEprom();
    link_.setBaudRate("38400");
    link_.setDebugMode(false);
    if (kelmo) link_.disconnect();
    instruments.Rele(2, 6, false);
    instruments.spegni_alim();
    if (!kelmo) link_.disconnect();
    instruments.accendi_alim();
    pausa(1);
    link_.connect();
    pausa(3);
    if (downloaded(index, loaded) && row(17).Ticked) resetConstants(kelmo);
}

void CalibrationBench::EseguiPasso7593(int index) {
    state.Step.CalOffset = 0;
    if (index == 0) return eepromRow(index, false);
    const RowParams* r = findRow(Rows7593, index);
    if (!r) return;
    if (index == 1) cell(index, ColourBlue);
    if (index <= 10) measurementFrame(false);
    cell(index, ColourBlue);
    cell(index, !applyRow(*r, index) || runProcedures(*r, index) ? ColourWhite : ColourRed);
}

void CalibrationBench::EseguiPasso4751(int index) {
    state.ProgInputsMode = false;
    state.Step.CalOffset = 0;
    if (index == 0) return eepromRow(index, true);
    const bool progInputs = index == 16;
    const RowParams* r = findRow(Rows4751, index);
    if (!r && !progInputs) return;
    if (index <= 10) measurementFrame(index == 1 || index == 2);
    cell(index, ColourBlue);
    state.Label5 = std::string(BenchModels[1].ListText) + " - Test " + row(index).Caption;
    changed();
    if (progInputs) {
        link_.writeRegister(link_.node(), 17, 255);
        pausa(1);
        state.ProgInputsMode = true;
        PreparaBloccoCostanti2();
        pausa(1);
        link_.writeRegister(link_.node(), 17, 0);
        cell(index, ColourWhite);
    } else {
        cell(index, !applyRow(*r, index) || runProcedures(*r, index) ? ColourWhite : ColourRed);
    }
}

void CalibrationBench::EseguiPassoTCRTD(int index) {
    if (index == 0) {
        bool loaded = imageRelayClosed();
        link_.writeRegister(10, 5, 3);
        link_.setDebugMode(true);
        pausa(0.5);
        loaded = loaded && CaricaEprom();
        link_.writeRegister(10, 5, 5);
        link_.setDebugMode(false);
        instruments.Rele(2, 6, false);
        if (downloaded(index, loaded)) PreparaBloccoCostanti();
        return;
    }
    const RowParams* r = findRow(RowsTCRTD, index);
    if (r && applyRow(*r, index) && !runProcedures(*r, index)) cell(index, ColourRed);
}

void CalibrationBench::EseguiPasso2569(int index) {
    state.Step.CalOffset = 0;
    if (index == 0) {
        link_.setDebugMode(true);
        pausa(0.5);
        const bool loaded = CaricaEprom();
        link_.setDebugMode(false);
        if (downloaded(index, loaded))
            for (size_t i = 0; i < Setup2569.size(); ++i)
                link_.writeRegister(state.ModuleNode, static_cast<int16_t>(1216 + i), Setup2569[i]);
        return;
    }
    const RowParams* r = findRow(Rows2569, index);
    if (r && applyRow(*r, index) && !runProcedures(*r, index)) cell(index, ColourRed);
}
