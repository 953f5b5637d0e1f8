#pragma once
// What every designer does with a stored change: refuse it with a message, or keep it and mark the
// project modified.
#include <cstdint>
#include <string>
#include <string_view>

#include "designers/record_fields.h"
#include "core/user_dialogs.h"

struct DesignerEdits {
    int16_t& modified;
    UserDialogs& dialogs;

    bool refuse(const std::string& message) const {
        dialogs.messageBox(message, MsgButtons::Ok, MsgIcon::Warning);
        return false;
    }
    bool stored() const {
        modified = -1;
        return true;
    }
    // Stores text into a field of the record; false (with the message) when refused.
    template <class R>
    bool store(const RecordField<R>& f, R& record, std::string_view caption, std::string_view text) const {
        bool changed = false;
        if (auto refusal = storeField(f, record, caption, text, changed)) return refuse(*refusal);
        if (changed) modified = -1;
        return true;
    }
};
