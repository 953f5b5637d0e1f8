// Feeds arbitrary answer bytes to the transaction (RTU and TCP) and to the procedures that read answers:
// every length and count must be checked before use, whatever the device sends.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "core/app_context.h"
#include "comm/device_procedures.h"
#include "comm/transaction.h"
#include "core/link_port.h"
#include "silent_dialogs.h"

namespace {

class ScriptedLink : public LinkPort {
  public:
    std::string answer;
    std::string pending;
    bool openSerial(const std::string&, const std::string&, bool) override { return true; }
    void connectTcp(const std::string&, uint16_t) override {}
    void close() override {}
    bool isSerial() const override { return true; }
    bool isConnected() const override { return true; }
    bool failed() const override { return false; }
    bool write(const std::string&) override {
        pending = answer;
        return true;
    }
    std::string readAll() override { return std::exchange(pending, {}); }
    void discardInput() override { pending.clear(); }
    std::string error() const override { return "link"; }
    void deliver() {
        if (!pending.empty() && onBytesReceived) onBytesReceived();
    }
};

class InstantPump : public EventPump {
  public:
    ScriptedLink* link = nullptr;
    int64_t now = 0;
    void processEvents() override {}
    void pausa(double) override {}
    bool waitUntil(const std::function<bool()>& done, int timeoutMs, bool) override {
        link->deliver();
        now += timeoutMs > 0 ? timeoutMs : 1;
        return done();
    }
    int64_t nowMs() const override { return now; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    static auto shell = std::make_unique<ShellState>();
    static auto comm = std::make_unique<CommState>();
    static auto project = std::make_unique<Project>();
    static ScriptedLink link;
    static InstantPump pump;
    static SilentDialogs dialogs;
    static AppContext app{*shell, *comm, *project, pump, dialogs, &link};
    pump.link = &link;
    link.onBytesReceived = [] { comm->DataArrived = 1; };
    shell->log.LogClear();

    const uint8_t selector = data[0];
    link.answer.assign(reinterpret_cast<const char*>(data + 1), size - 1);
    comm->LinkMode = (selector & 1) ? 2 : 1;
    comm->CurrentDevice.Connected = -1;
    comm->CurrentDevice.EchoRemove = (selector & 2) ? -1 : 0;
    comm->CurrentDevice.NodeAddress = 10;
    comm->AnswerTimeout = 1;
    comm->MonitorOn = -1;
    comm->MonitorRx.clear();
    switch ((selector >> 2) % 5) {
    case 0:
        LeggiMemoria(app, 10, 0x100, 65536 - 32, 32);
        break;
    case 1:
        LeggiFlash(app, 10, 0xFFFFFF, 0, 255);
        break;
    case 2:
        LeggiRegistro(app, 10, 5);
        break;
    case 3:
        LeggiStatoPLC(app);
        break;
    default:
        comm->TxBuffer[0] = 10;
        comm->TxBuffer[1] = 3;
        comm->TxLength = 6;
        TrasmettiRicevi(app, -1);
        break;
    }
    return 0;
}
