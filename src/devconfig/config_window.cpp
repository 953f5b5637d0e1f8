#include "devconfig/config_window.h"

#include <charconv>

#include "core/app_context.h"
#include "core/busy_run.h"
#include "comm/input_register_read.h"
#include "devconfig/model_entries.h"
#include "devconfig/module_memory.h"

namespace {

// The two output types of an analog output: entry 1 is what "Set All" marks in the type mask.
const std::vector<std::pair<std::string, int>> OutputTypes{{"10 V", 0}, {"20 mA", 1}};

} // namespace

ConfigWindow::ConfigWindow(AppContext& ctx) : ctx_(ctx) {
    FillPortBaud(Baud[0]);
    for (PickList& list : OutTypes)
        list.refill(OutputTypes);
}

void ConfigWindow::changed() {
    if (onChanged) onChanged();
}

void ConfigWindow::Form_Load() {
    SetRes();
    Pronto = -1;
    Indirizzo = std::to_string(ctx_.comm.CurrentDevice.NodeAddress);
    Models.clear();
    const auto& names = ctx_.shell.ModelNames;
    if (ctx_.shell.Flags.Brand3)
        Models.push_back(names[entry::JXV8410DLIO]);
    else
        for (int k : ModelListEntries)
            Models.push_back(names[static_cast<size_t>(k)]);
    Model.clear();
    for (const std::string& m : Models)
        if (m == NomeModello) Model = m;
    Tab = TabSystem;
    ImpostaModello();
}

void ConfigWindow::modello_Click(const std::string& text) {
    Model = text;
    ImpostaModello();
}

void ConfigWindow::TabStrip1_Click(int tab) {
    Tab = tab;
    ImpostaModello();
}

int ConfigWindow::modelEntry() const {
    return ModelEntryOf(ctx_.shell.ModelNames, Model);
}

void ConfigWindow::ImpostaModello() {
    Layout = ::ImpostaModello(ctx_.shell.ModelNames, Model, Tab, ctx_.shell.Flags.Internal != 0);
    // The lists always hold the current model's types, so a read or write never meets another model's;
    // they are refilled when the model changes, so moving between tabs keeps what was read or chosen.
    const int m = modelEntry();
    if (typesEntry_ != m) FillTypeRows(Types, TypesOf(m));
    typesEntry_ = m;
    changed();
    if (Layout.Types && Layout.Types->Pre == Preselect::Register34)
        if (auto n = node()) selectFromRegister34(*n);
}

// Every request of the window asks for the node first: none goes between the requests of a run.
std::optional<uint8_t> ConfigWindow::node() {
    if (RefusedDuringRun(ctx_, "Request")) return std::nullopt;
    unsigned value = 0;
    const char* end = Indirizzo.data() + Indirizzo.size();
    const auto [p, ec] = std::from_chars(Indirizzo.data(), end, value);
    if (!Indirizzo.empty() && ec == std::errc{} && p == end && value <= 255)
        return static_cast<uint8_t>(value);
    refuse("Address \"" + Indirizzo + "\" is not a number from 0 to 255: nothing was sent.");
    return std::nullopt;
}

void ConfigWindow::refuse(const std::string& text) {
    ctx_.dialogs.messageBox(text, MsgButtons::Ok, MsgIcon::Warning, Captions["frm_Config2"]);
}

// Position equals code in the display module's list; a failed read or a code beyond the list selects
// nothing rather than a type the module was not found to have.
void ConfigWindow::selectFromRegister34(uint8_t n) {
    const auto v = LeggiRegistriInput(ctx_, n, InputTypeRegister, 1);
    TypeRow& row = Types[0];
    row.Selected = v && (*v)[0] < row.Items.size() ? (*v)[0] : -1;
    changed();
}

bool ConfigWindow::readsInputTypes() const {
    const int m = modelEntry();
    return m == entry::EightChannelVariant || m == entry::JXV8480AI;
}

bool ConfigWindow::cmd_read_Click(int index) {
    if (index != 0 || !readsInputTypes()) return false;
    const int m = modelEntry();
    const auto n = node();
    if (!n) {
        ctx_.comm.PollStop = 1;
        return false;
    }
    Pronto = 0;
    if (m == entry::EightChannelVariant)
        ReadChannelTypes(ctx_, *n, Types);
    else
        selectFromRegister34(*n);
    Pronto = -1;
    changed();
    return true;
}
