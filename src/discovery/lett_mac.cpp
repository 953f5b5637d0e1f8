#include "discovery/lett_mac.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "comm/byte_helpers.h"
#include "comm/transaction.h"
#include "core/app_context.h"
#include "core/busy_run.h"
#include "program/transfer/file_output.h"

namespace {

constexpr const char* ListFilter = " (*.csv)|*.csv|(*.*)|*.*|";
constexpr const char* ReportFilter = " (*.txt)|*.txt|(*.*)|*.*|";
constexpr const char* SaveQuestion = "L'elenco \xE8 stato modificato. Salvare il file?";
constexpr const char* UnstorableFields = "PFC e Anno senza \"/\" e TAB, Cliente su una riga";
constexpr int MacAnswerBytes = 6;

} // namespace

void LettMac::message(const std::string& text, MsgIcon icon) {
    ctx_.dialogs.messageBox(text, MsgButtons::Ok, icon);
}

void LettMac::refill() {
    if (AggiungiVoce) AggiungiVoce();
}

std::vector<std::string> LettMac::lines() const {
    std::vector<std::string> out;
    out.reserve(ElencoMAC.size());
    for (const MacEntry& e : ElencoMAC)
        out.push_back(macListLine(e));
    return out;
}

void LettMac::Command1_Click(const Boxes& boxes) {
    if (RefusedDuringRun(ctx_, "Carica MAC")) return; // never between the requests of a run
    CommState& c = ctx_.comm;
    const uint8_t request[] = {1, 4, 0, 14, 0, 3};
    std::copy(std::begin(request), std::end(request), c.TxBuffer.begin());
    c.TxLength = sizeof request;
    c.MonitorOn = 0;
    if (TrasmettiRicevi(ctx_, 1) != ComOk || c.RxLength < 3 + MacAnswerBytes ||
        c.RxBuffer[2] < MacAnswerBytes) {
        message("Errore Lettura", MsgIcon::Critical);
        return;
    }
    std::string mac;
    for (int i = 3; i < 3 + MacAnswerBytes; ++i)
        mac += (mac.empty() ? "" : "-") + ByteToHex(c.RxBuffer[static_cast<size_t>(i)]);
    if (mac == "FF-FF-FF-FF-FF-FF") {
        message("MAC non valido", MsgIcon::Critical);
        return;
    }
    int32_t largest = 0;
    bool duplicate = false;
    for (const MacEntry& e : ElencoMAC) {
        largest = std::max(largest, e.ID);
        if (e.MAC == mac) {
            message("MAC gi\xE0 inserito", MsgIcon::Warning);
            duplicate = true;
        }
    }
    if (!duplicate) {
        if (ElencoMAC.size() >= MacSlots) {
            message("Elenco pieno: al massimo 65536 MAC", MsgIcon::Critical);
            return;
        }
        if (largest == std::numeric_limits<int32_t>::max()) {
            message("ID esaurito: numero massimo raggiunto", MsgIcon::Critical);
            return;
        }
        if (!macFieldsStorable(boxes.pfc, boxes.anno, boxes.cliente)) {
            message(UnstorableFields, MsgIcon::Critical);
            return;
        }
        ElencoMAC.push_back({mac, largest + 1, boxes.pfc, boxes.anno, boxes.cliente});
        ElencoModificato = true;
    }
    refill();
}

void LettMac::Command2_Click(int selected, const Boxes& boxes) {
    if (selected < 0 || static_cast<size_t>(selected) >= ElencoMAC.size()) {
        message("Selezionare un MAC", MsgIcon::Information);
        return;
    }
    MacEntry& e = ElencoMAC[static_cast<size_t>(selected)];
    if (!e.PFC.empty() &&
        ctx_.dialogs.messageBox("MAC gi\xE0 in uso. Continuare?", MsgButtons::YesNo) != MsgChoice::Yes)
        return;
    if (!macFieldsStorable(boxes.pfc, boxes.anno, boxes.cliente)) {
        message(UnstorableFields, MsgIcon::Critical);
        return;
    }
    e.PFC = boxes.pfc;
    e.Anno = boxes.anno;
    e.Cliente = boxes.cliente;
    ElencoModificato = true;
    refill();
}

bool LettMac::chooseListFile(bool forSave) {
    if (!FileElenco.empty()) return true;
    FileElenco = forSave ? ctx_.dialogs.saveFile(ListFilter) : ctx_.dialogs.openFile(ListFilter);
    return !FileElenco.empty();
}

bool LettMac::askSaveFirst() {
    if (!ElencoModificato) return true;
    switch (ctx_.dialogs.messageBox(SaveQuestion, MsgButtons::YesNoCancel)) {
    case MsgChoice::Yes:
        return cmd_SaveFile_Click();
    case MsgChoice::No:
        return true;
    default:
        return false;
    }
}

void LettMac::cmd_loadFile_Click() {
    if (!askSaveFirst() || !chooseListFile(false)) return;
    CaricaFile();
}

void LettMac::CaricaFile() {
    std::string bytes, reason;
    if (!ReadWholeFile(FileElenco, bytes, &reason)) {
        message("Impossibile leggere " + FileElenco + ": " + reason, MsgIcon::Critical);
        FileElenco.clear();
        return;
    }
    MacListRead read = readMacList(bytes);
    ElencoMAC = std::move(read.entries);
    ElencoModificato = false;
    if (read.badRecord) {
        // A save over the original would lose the records behind the bad one: the next save asks.
        message("Record " + std::to_string(*read.badRecord) + " non leggibile: caricati " +
                    std::to_string(ElencoMAC.size()) + " record di " + FileElenco,
                MsgIcon::Warning);
        FileElenco.clear();
    }
    refill();
}

bool LettMac::cmd_SaveFile_Click() {
    if (!chooseListFile(true)) return false;
    if (std::string reason; !WriteWholeFile(FileElenco, writeMacList(ElencoMAC), &reason)) {
        message("Impossibile scrivere " + FileElenco + ": " + reason, MsgIcon::Critical);
        return false;
    }
    ElencoModificato = false;
    return true;
}

void LettMac::cmd_report_Click(const MacReportFilter& filter, const std::string& dateTime) {
    FileElenco.clear();
    std::string path = ctx_.dialogs.saveFile(ReportFilter);
    if (path.empty()) return;
    if (std::string reason; !WriteWholeFile(path, macReport(ElencoMAC, filter, dateTime), &reason))
        message("Impossibile scrivere " + path + ": " + reason, MsgIcon::Critical);
}

bool LettMac::Form_Unload() {
    return askSaveFirst();
}

void LettMac::refuseCharacter(const std::string& box, char32_t c) {
    char code[8];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    message(box + ": il carattere " + code + " non si pu\xF2 scrivere nel file (Windows-1252)",
            MsgIcon::Critical);
}
