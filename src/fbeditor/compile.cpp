// CompilaComando: the common steps of every encoding, the dispatch and the common end.
#include <algorithm>
#include <cmath>

#include "fbeditor/families.h"
#include "fbeditor/number_text.h"

namespace {

bool isListEntry(const ComboBox& box) {
    return std::any_of(box.Items.begin(), box.Items.end(),
                       [&](const ListEntry& l) { return l.Text == box.Text; });
}

// Rows 0..7: "," becomes "." in numbers; register references ("%R" and a number from the third
// character), jump targets and list choices (tables, modules) are names and stay as they are.
void normaliseRows(Editor& e) {
    for (int i = 0; i < ArgumentRowCount; ++i) {
        const ArgumentRow& row = e.state.Rows[static_cast<size_t>(i)];
        std::string& text = e.state.Rows[static_cast<size_t>(i)].Value.Text;
        ArgumentDescriptor& d = e.Args[static_cast<size_t>(i)];
        if (!text.empty() && text[0] == '%') {
            d.Value = numericValue(text.size() > 2 ? std::string_view(text).substr(2) : std::string_view());
        } else {
            if (!row.TargetRow && !isListEntry(row.Value)) text = commaToPoint(text);
            d.Value = numericValue(text);
        }
    }
}

// A register of the model: a whole number from 0 to the model's last register.
bool isModelRegister(std::string_view number, const ModelRecord& model) {
    if (!isNumberText(number)) return false;
    double v = numericValue(number);
    return v >= 0 && v < model.NumRegisters && v == std::floor(v);
}

// A shown argument holds a register of the model ("%R" and its number), a number of the row's value type
// (a register number where the row holds a register), a rung label or an entry of its list (tables,
// modules, resources). Anything else would be encoded as 0 and reach the controller unnoticed.
bool acceptable(const Editor& e, size_t i) {
    const ArgumentRow& row = e.state.Rows[i];
    const ArgumentDescriptor& d = e.Args[i];
    const std::string& text = row.Value.Text;
    if (!row.Value.Visible) return true;
    if (text.starts_with('%')) return text.starts_with("%R") && isModelRegister(text.substr(2), e.model());
    if (isListEntry(row.Value)) return true;
    // The compile resolves a target and reports a missing label; no label holds a ",".
    if (row.TargetRow) return !text.empty() && text.find(',') == std::string::npos;
    if (d.Kind == KindTable || !isNumberText(text)) return false;
    bool constant = d.Kind == KindKFlt || d.Kind == KindKLong;
    if (d.IsRegister && !constant) return isModelRegister(text, e.model());
    return d.Value >= d.Min && d.Value <= d.Max;
}

// The delay box: a whole number the record's 16-bit field holds.
bool isDelay(const std::string& text) {
    const double v = numericValue(text);
    return isNumberText(text) && v == std::floor(v) && v >= -32768 && v <= 65535;
}

// A model without the trigger hides its row and the compile ignores it: the rung keeps what it stored.
bool triggerShown(const Editor& e) {
    return e.model().HasTrigger != 0;
}

// What a refused row must hold; empty: the row's range.
std::string rowNeeds(const Editor& e, size_t i) {
    const ArgumentRow& row = e.state.Rows[i];
    const ArgumentDescriptor& d = e.Args[i];
    if (d.Kind == KindTable) return "one of the defined tables";
    if (row.TargetRow) return "a label, without \",\"";
    const bool constant = d.Kind == KindKFlt || d.Kind == KindKLong;
    if (row.Value.Text.starts_with('%') || (d.IsRegister && !constant))
        return "a register from 0 to " + std::to_string(int{e.model().NumRegisters} - 1);
    return {};
}

// The argument rows, the delay, and the trigger's register and mask when the trigger is on.
void checkRows(const Editor& e) {
    for (size_t i = 0; i < ArgumentRowCount; ++i)
        if (!acceptable(e, i)) throw RejectedValue{static_cast<int>(i), rowNeeds(e, i)};
    if (triggerShown(e) && e.state.TriggerChecked &&
        (!isModelRegister(e.state.TriggerRegister.Text, e.model()) ||
         !isNumberText(e.state.TriggerMask.Text)))
        throw RejectedValue{ArgumentRowCount, "a register of the model and a mask"};
    if (e.state.DelayVisible && !isDelay(e.state.Delay)) throw RejectedValue{DelayRow, DelayRange};
}

uint16_t trigger16(const std::string& text) {
    std::array<uint8_t, 2> b{};
    if (!intToBytes(numericValue(text), b))
        throw RejectedValue{ArgumentRowCount, std::string("a mask ") + SixteenBitRange};
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
    if (!triggerShown(e)) return;
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
    // The encoding works on a copy: a rejected value leaves the stored rung as it was. It also leaves the
    // rows' descriptors as they were, since an encoding may rewrite a row's kind (a Linearization's table
    // row becomes a constant) and the row's Set must still open its picker to mend the value.
    CommandRecord r = work_;
    RungRow out;
    const auto args = Args;
    rejected_ = {};
    try {
        normaliseRows(*this);
        checkRows(*this);
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
    } catch (const RejectedValue& rejected) {
        rejected_ = rejected;
        Args = args;
        return false;
    }
    r.EncodedFlag = -1;
    stored() = r;
    work_ = r;
    row = out;
    if (rowWritten) rowWritten(section_, rung_, row);
    return true;
}

std::string Editor::rejectionText() const {
    std::string text = "Error: Check Values";
    const int i = rejected_.Row;
    if (i == DelayRow) return text + " (" + state.DelayCaption + ": " + rejected_.Why + ")";
    if (i < 0 || i > ArgumentRowCount) return text;
    if (i == ArgumentRowCount) return text + " (Trigger: " + rejected_.Why + ")";
    const ArgumentDescriptor& d = Args[static_cast<size_t>(i)];
    std::string why = rejected_.Why;
    if (why.empty() && std::isfinite(d.Min) && std::isfinite(d.Max))
        why = "from " + numberText(d.Min) + " to " + numberText(d.Max);
    return text + " (row " + std::to_string(i + 1) + " \"" + d.Label + "\"" +
           (why.empty() ? "" : ": " + why) + ")";
}

bool Editor::confirm() {
    if (!Caricato) return false; // an unloaded editor belongs to no rung: it writes nothing
    // The project's files keep their texts without "," (as the descriptions), and no jump target holds one.
    if (state.Label.find(',') != std::string::npos) {
        ctx_.dialogs.messageBox("Error: Check Values (Label: no \",\")", MsgButtons::Ok);
        return false;
    }
    if (!CompilaComando()) {
        ctx_.dialogs.messageBox(rejectionText(), MsgButtons::Ok);
        return false;
    }
    unload();
    ctx_.project.ProjectModified = -1;
    return true;
}
