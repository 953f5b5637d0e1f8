// The buttons of the configuration window that act on the module: writes, polling, sync, "Set All",
// the event toggles, and the calendar.
#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <optional>

#include "core/app_context.h"
#include "core/busy_run.h"
#include "comm/device_procedures.h"
#include "comm/transaction.h"
#include "devconfig/config_window.h"
#include "devconfig/model_entries.h"
#include "devconfig/module_memory.h"

namespace {

constexpr int16_t OutputTypeRegister = 13;
constexpr int16_t SafeValueRegister = 8;

void send(AppContext& app, std::initializer_list<uint8_t> head, const std::vector<uint8_t>& data = {}) {
    auto out = std::copy(head.begin(), head.end(), app.comm.TxBuffer.begin());
    std::copy(data.begin(), data.end(), out);
    app.comm.TxLength = static_cast<int>(head.size() + data.size());
    TrasmettiRicevi(app, -1);
}

std::optional<int> number(const std::string& text) {
    int v = 0;
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data() + (text.starts_with('+') ? 1 : 0), end, v);
    if (text.empty() || ec != std::errc{} || p != end) return std::nullopt;
    return v;
}

} // namespace

void ConfigWindow::cmd_Invia_Click(int index) {
    if (index != 6 || !readsInputTypes()) return;
    const auto n = node();
    if (!n) return;
    if (modelEntry() == entry::EightChannelVariant)
        WriteChannelTypes(ctx_, *n, Types);
    else
        WriteDisplayType(ctx_, *n, Types);
}

// Each pass reads the module once; a pass with nothing to read waits a little, so the loop never spins.
// A closed link ends it too, after the one pass that says so: that failure does not stop polls.
void ConfigWindow::cmd_start_Click() {
    if (polling_) return;
    if (!readsInputTypes()) {
        refuse("Start: this window reads no live values of the model \"" + Model + "\"; nothing is polled.");
        return;
    }
    if (!node()) return;
    CommState& comm = ctx_.comm;
    comm.PollStop = 0;
    comm.PollBusy = 1;
    polling_ = true;
    changed();
    do {
        const bool read = cmd_read_Click(0);
        ctx_.pump.processEvents();
        if (!read && comm.PollStop != 1) ctx_.pump.pausa(0.1);
    } while (comm.PollStop != 1 && comm.CurrentDevice.Connected);
    cmd_stop_Click();
}

void ConfigWindow::cmd_stop_Click() {
    ctx_.comm.PollStop = 1;
    if (polling_) ctx_.comm.PollBusy = 0;
    polling_ = false;
    changed();
}

// A broadcast: no module answers it.
void ConfigWindow::cmd_sync_Click() {
    if (RefusedDuringRun(ctx_, "Request")) return;
    ctx_.comm.AnswerExpected = 0;
    send(ctx_, {255, 6, 0, 0, 0, 0});
    ctx_.comm.AnswerExpected = -1;
}

void ConfigWindow::cmd_Set_Click(int index) {
    const int m = modelEntry();
    if (m != entry::JXV7541 && m != entry::JXV7020 && m != entry::JXV7287) return;
    const auto n = node();
    if (!n) return;
    if (index == 0) {
        int mask = 0;
        for (size_t i = 0; i < OutTypes.size(); ++i)
            if (OutTypes[i].Selected == 1) mask |= 1 << i;
        send(ctx_, {*n, 6, 0, OutputTypeRegister, 0, static_cast<uint8_t>(mask)});
        return;
    }
    std::vector<uint8_t> data;
    for (size_t i = 0; i < Safe.size(); ++i) {
        const auto v = number(Safe[i]);
        if (!v || *v < -32768 || *v > 65535) {
            refuse("Safe value " + std::to_string(i) + " \"" + Safe[i] +
                   "\" is not a number from -32768 to 65535: nothing was sent.");
            return;
        }
        data.push_back(static_cast<uint8_t>(*v >> 8));
        data.push_back(static_cast<uint8_t>(*v));
    }
    send(ctx_, {*n, 16, 0, SafeValueRegister, 0, 8, 16}, data);
}

// The indicator shows what the module holds: a failed write puts it back.
void ConfigWindow::cmd_Toggle_Click(int index) {
    const auto n = node();
    if (!n) return;
    auto& led = Events[static_cast<size_t>(index)];
    led = !led;
    double flags = (Events[0] ? 1 : 0) + (Events[1] ? 2 : 0) + (Events[2] ? 4 : 0);
    if (!ScriviRegistro(ctx_, *n, ControlRegister, flags *= 256)) led = !led;
    changed();
}

void ConfigWindow::cmd_calendar_Click() {
    CalendarShown = true;
    changed();
}

void ConfigWindow::MonthView1_DateClick(int year, int month, int day) {
    if (year < 2000 || year > 2099 || month < 1 || month > 12 || day < 1 || day > 31) return;
    Day.Selected = day - 1;
    Month.Selected = month - 1;
    Year.Selected = year - 2000;
    CalendarShown = false;
    changed();
}

std::optional<int> ConfigWindow::PortSetting(int port) const {
    const size_t p = static_cast<size_t>(port);
    const auto *baud = Baud[p].selected(), *parity = Parity[p].selected(), *stop = StopBits[p].selected();
    if (!baud || !parity || !stop) return std::nullopt;
    return baud->second + parity->second + stop->second;
}
