// CompilaComando: the common steps of every encoding, the dispatch and the common end.
#include "fbeditor/families.h"
#include "fbeditor/number_text.h"

namespace {

// Rows 0..7: "," becomes "." except in register references ("%R" and a number from the third character).
void normaliseRows(Editor& e) {
    for (int i = 0; i < ArgumentRowCount; ++i) {
        std::string& text = e.state.Rows[static_cast<size_t>(i)].Value.Text;
        ArgumentDescriptor& d = e.Args[static_cast<size_t>(i)];
        if (!text.empty() && text[0] == '%') {
            d.Value = numericValue(text.size() > 2 ? std::string_view(text).substr(2) : std::string_view());
        } else {
            text = commaToPoint(text);
            d.Value = numericValue(text);
        }
    }
}

uint16_t trigger16(const std::string& text) {
    std::array<uint8_t, 2> b{};
    if (!intToBytes(numericValue(text), b)) throw RejectedValue{};
    return static_cast<uint16_t>(b[0] | b[1] << 8);
}

void copyRows(Editor& e, CommandRecord& r, RungRow& row) {
    for (size_t k = 0; k < ArgumentRowCount; ++k) {
        const ArgumentRow& er = e.state.Rows[k];
        row.ValueVisible[k] = er.Value.Visible;
        row.ArgValues[k] = er.Value.Text;
        row.CaptionVisible[k] = er.CaptionVisible;
        r.ArgTexts[k] = er.Value.Text;
    }
}

void writeTrigger(Editor& e, CommandRecord& r) {
    if (!e.state.TriggerChecked) {
        r.TriggerFlag = 0;
        r.TriggerRegister = r.TriggerMask = 0;
        return;
    }
    r.TriggerFlag = -1;
    r.TriggerRegister = trigger16(e.state.TriggerRegister.Text);
    r.TriggerMask = trigger16(e.state.TriggerMask.Text);
}

EncodeFn familyEncoder(int type, int opcode) {
    switch (type) {
    case 1:
    case 7:
    case 8:
    case 9:
        return encodeWrite;
    case 2:
    case 4:
    case 6:
        return encodeRead;
    case 12:
    case 14:
    case 16:
        return encodePointerRead;
    case 3:
        return encoderFor(type, opcode);
    default:
        return nullptr;
    }
}

} // namespace

bool Editor::CompilaComando() {
    // The encoding works on a copy: a rejected value leaves the stored rung as it was.
    CommandRecord r = work_;
    RungRow out;
    try {
        normaliseRows(*this);
        copyRows(*this, r, out);
        r.Label = state.Label;
        out.Label = state.Label;
        writeTrigger(*this, r);
        const CatalogueEntry& c = catalogueEntry(FunzioneCorrente);
        r.FunctionType = c.Type;
        r.Opcode = c.Opcode;
        r.SubOp = c.SubOp;
        out.Picture = c.Picture;
        out.PictureVisible = true;
        out.FunctionName = state.Options[static_cast<size_t>(FunzioneCorrente)].Caption;
        out.Colour = c.Colour;
        out.Description = r.Description;
        if (EncodeFn f = familyEncoder(c.Type, c.Opcode)) {
            Encoding enc(*this, r, out);
            f(enc);
        }
    } catch (const RejectedValue&) {
        return false;
    }
    r.EncodedFlag = -1;
    stored() = r;
    work_ = r;
    row = out;
    if (rowWritten) rowWritten(section_, rung_, row);
    return true;
}

bool Editor::confirm() {
    if (!Caricato) return false; // an unloaded editor belongs to no rung: it writes nothing
    if (!CompilaComando()) {
        ctx_.dialogs.messageBox("Error: Check Values", MsgButtons::Ok);
        return false;
    }
    unload();
    ctx_.project.ProjectModified = -1;
    return true;
}
