#pragma once
// frm_coll_NWAC: the production test of the NWAC Ethernet product. The one device link moves between
// the bench I/O (relays, pulse and range outputs, two status lamps) and the product under test (RS-485
// loop test, version byte); firmware goes to the product over HTTP. The window shows `state`.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "factorytest/ethernet_product/firmware_upload.h"
#include "factorytest/fields/closing_pump.h"
#include "factorytest/instruments/bench_colours.h"

struct AppContext;
class LinkPort;
class ProgramRunner;

struct NwacState {
    bool ReleAC = false;
    bool ReleDC = false;
    bool Impulso = false;
    bool TestAttivo = false;
    bool TimerEnabled = false;  // bench polling
    bool Frame1Enabled = false; // "Hardware"
    bool Frame5Enabled = false; // the product's commands
    int Device = -1;            // lst_device entry; -1 none
    std::string txt_vers = "0";
    bool Range3V = false;      // opt_misura(1)
    bool ErrorSlave = false;   // chk_error: the loop test asks slave 11
    std::array<bool, 2> led{}; // "V", "R" lit
    bool LoopLampLit = false;  // led(10)
    uint32_t LoopLampColour = ColourRed;
    int LoopErrors = 0;
    std::array<uint32_t, 3> RelayColours{ColourWhite, ColourWhite, ColourWhite}; // "DC", "AC", "OFF"
};

// The bench's fixed test network; tests put their own peers here.
struct NwacEndpoints {
    std::string Bench = "192.168.1.101";
    std::string Product = "192.168.1.100";
};

// The image files the upload buttons send, by setting.
struct FirmwareFiles {
    std::string Factory; // "Upload Factory", entries 0 and 1
    std::string Brand1;  // "Upgrade Firmware", entry 0
    std::string Brand2;  // "Upgrade Firmware", entry 1
};

class EthernetProductBench {
    ClosingPump pump_; // first: the upload waits on it

  public:
    EthernetProductBench(AppContext& app, LinkPort& uploadSocket, ProgramRunner& runner);

    NwacState state;
    NwacEndpoints endpoints;
    FirmwareFiles firmware;
    FirmwareUpload upload;
    std::function<void()> onChanged;

    void cmd_connetti_Click(int index);
    void Command1_Click();
    void cmd_rele_Click(int index);
    void cmd_puls_Click(bool ticked);
    // One polling tick; skipped while the link is down or a transaction is waiting for its answer.
    void Timer_Timer();
    void lst_device_Click(int entry);
    void cmd_Set_Click();
    // The RS-485 loop test: runs until "stop".
    void cmd_test_Click();
    void cmd_stop_test_Click();
    void cmd_view_Click();
    void Command2_Click();
    void cmd_upload_Click(int index);
    // The window closes: the loop test and an upload end at their next wait, and the bench's polling
    // stops (the bench is connected again from the window).
    void Form_Unload();

    // The file of an upload button for a list entry; empty when there is none.
    std::string UploadPath(int index, int entry) const;

  private:
    void ConnettiIP101();
    void ConnettiIP100();
    void ScriviUscita();
    // The loop test's requests, until "stop".
    void loopTest();
    void start(const std::string& program, const std::vector<std::string>& args);
    void changed();

    AppContext& app_;
    ProgramRunner& runner_;
    bool ticking_ = false;
};
