#pragma once
// coll7593: the analog module calibration bench. Runs the chosen model's check list on the module
// under test with the bench instruments; the window only shows `state` and forwards clicks.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "factorytest/calibration_bench/bench_link.h"
#include "factorytest/calibration_bench/bench_state.h"
#include "factorytest/fields/closing_pump.h"
#include "factorytest/instruments/bench_instruments.h"
#include "program/transfer/transfer_view.h"

struct AppContext;

class CalibrationBench {
    ClosingPump pump_; // first: the instruments wait on it

  public:
    // programFolder holds the EEPROM images.
    CalibrationBench(AppContext& app, InstrumentPorts& ports, std::string programFolder);

    BenchState state;
    InstrumentPorts& ports;
    BenchInstruments instruments;
    // Called after every change of state, so the window redraws.
    std::function<void()> onChanged;
    // The busy pointer, shown while the EEPROM image goes to the module.
    TransferView view;

    void Form_Load();
    // Chooses bench model 0..3 and sets its check list; refused while a run goes.
    void lst_device_Click(int model);
    void setTicked(int row, bool ticked);
    // Runs one row alone; refused while a run goes.
    void cmd_coll_Click(int index);
    void cmd_start_Click();
    // During a run only asks it to stop after the row in hand; otherwise runs the STOP sequence.
    void cmd_stop_Click();
    // The window closes: a run, a row or a stop sequence ends at its next wait, where the supply's output
    // is switched off (and logged) before the instruments' ports close; with nothing under way they close
    // at once.
    void Form_Unload();

    // Step procedures, one per model (rows without a step do nothing).
    void EseguiPasso7593(int index);
    void EseguiPasso4751(int index);
    void EseguiPassoTCRTD(int index);
    void EseguiPasso2569(int index);

    // Routing and instruments of a step; false (logged) when the relay unit could not be reached.
    bool PreparaStrumenti();
    bool InstradaRele();
    bool InstradaRele3();

    // Measurements. The calibrations are false when the module's input or output type was not selected:
    // the row's checks then do not run.
    bool CalibraIngresso(int index);
    bool MisuraPunto(double& target);
    void MisuraK(int index);
    void MisuraTrePunti(int index);
    bool CalibraUscita(int index);
    void VerificaUscita(int index);
    void VerificaUscita2(int index);
    bool CalibraCJC(int index);
    void MisuraCJC(int index);

    // Writers of module memory.
    bool CaricaEprom();
    bool ScriviCostante3(uint8_t node, uint8_t k, double value);
    bool ScriviValore16(uint8_t node, uint8_t selector, int32_t a, int32_t b);
    void PreparaBloccoCostanti();
    void PreparaBloccoCostanti2();

  private:
    void changed();
    void runRow(int index);
    // START's run, once the instruments are there: the ticked rows, then the stop sequence.
    void run();
    // Register 17 := 0 and release mode (toModule only), then the duration, the beep and the supply off.
    void stopSequence(bool toModule = true);
    // Runs work until its end or the window's close (what names it in the log).
    void untilClosed(const std::string& what, const std::function<void()>& work);
    // Sends the supply's off command, written out before the ports close, and logs whether it went.
    void switchSupplyOffAtClose();
    bool checkPorts();
    bool openPorts();
    void pausa(double seconds);
    // Applies a row's parameters, "Keep" fields left alone; false when its calibration value is missing.
    bool applyRow(const RowParams& row, int index);
    // False when the step failed before it measured: its relays not set, or the module's type not selected.
    bool runProcedures(const RowParams& row, int index);
    void measurementFrame(bool blocks2);
    void eepromRow(int index, bool kelmo);
    // The image's blocks to the module; false (told) when a block is not written twice.
    bool writeImage(const std::vector<uint8_t>& image, const std::string& path);
    // Closes the relay through which the module takes its image; false (told) when it is not switched.
    bool imageRelayClosed();
    // After the image download: a failure turns the row red and ends the module's calibration.
    bool downloaded(int index, bool loaded);
    void resetConstants(bool kelmo);
    void relinkAt38400();
    bool selectInputType(bool cjc);
    // A register of the module under test, signed for the 100 mV range; nothing when the read failed.
    std::optional<double> reading(int16_t reg);
    void colour(BenchLabel& label, uint32_t colour, const std::string& text = {});
    void fail(BenchLabel& label, const std::string& why);
    // Logs the text and shows it to the operator.
    void tell(const std::string& text);
    void cell(int index, uint32_t colour);
    void writeBlocks(bool second);
    BenchRow& row(int index) { return state.Rows[static_cast<size_t>(index)]; }

    AppContext& app_;
    BenchLink link_;
    std::string programFolder_;
};
