#include "comm/model_check.h"

#include "core/app_context.h"
#include "core/model_catalogue.h"
#include "comm/register_map.h"
#include "comm/transaction.h"

namespace {

constexpr uint8_t ReadInputRegisters = 4;
constexpr uint8_t IdentificationRegister = 1;

const ModelRecord& row(const AppContext& app, uint8_t index) {
    return app.shell.Models[index < ModelRows ? index : DefaultModelIndex];
}

std::string describe(const ModelRecord& m) {
    return m.ModelName + " (Fw:" + m.ModelCode + ")";
}

// The device's code, or nothing when the identification read failed (its box is already shown).
std::optional<std::string> readCode(AppContext& app) {
    CommState& comm = app.comm;
    const std::array<uint8_t, 6> request{
        comm.CurrentDevice.NodeAddress, ReadInputRegisters, 0, IdentificationRegister, 0, 2};
    std::copy(request.begin(), request.end(), comm.TxBuffer.begin());
    comm.TxLength = static_cast<int>(request.size());
    if (TrasmettiRicevi(app, -1) != ComOk || comm.RxLength < 7 || comm.RxBuffer[2] != 4) return std::nullopt;
    return IdentificationCode(comm.RxBuffer[3], comm.RxBuffer[4], comm.RxBuffer[5], comm.RxBuffer[6]);
}

} // namespace

std::string IdentificationCode(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::string code;
    for (uint8_t b : {b0, b1, b2, b3}) {
        if (b >= 16) code += Digits[b >> 4];
        code += Digits[b & 15];
    }
    return code;
}

bool IdentificaModello(AppContext& app, uint8_t& modelIndex) {
    const std::string code = readCode(app).value_or(row(app, modelIndex).ModelCode);
    bool matched = false;
    // The scan runs to the end: of two rows with the same code the later one wins.
    for (int r = 0; r < FilledModelRows; ++r) {
        if (app.shell.Models[static_cast<size_t>(r)].ModelCode != code) continue;
        modelIndex = static_cast<uint8_t>(r);
        matched = true;
    }
    if (!matched) {
        app.dialogs.messageBox("Device not compatible with this software version. Please check for updates.",
                               MsgButtons::Ok, MsgIcon::Critical, "Melqo");
        modelIndex = DefaultModelIndex;
    }
    return true;
}

void VerificaModello(AppContext& app) {
    uint8_t& current = app.comm.CurrentDevice.ModelIndex;
    const uint8_t old = current;
    IdentificaModello(app, current);
    if (current != old) {
        const ModelRecord& found = row(app, current);
        const std::string question = "Expected:" + describe(row(app, old)) + "\r" +
                                     "Found: " + describe(found) + "\r" + "Change to " + describe(found) +
                                     " ?";
        if (app.dialogs.messageBox(question, MsgButtons::YesNo, MsgIcon::None, "Melqo") == MsgChoice::No)
            current = old;
    }
    MappaRegistri(app, true);
}
