#include "program/transfer/file_output.h"

#include "core/app_context.h"
#include "core/durable_file.h"
#include "core/file_read.h"

bool WriteWholeFile(const std::string& path, const std::string& bytes, std::string* reason) {
    const auto failed = SaveFileDurably(path, bytes);
    if (failed && reason) *reason = failed->reason;
    return !failed;
}

void TellSaveFailure(AppContext& app, const std::string& what, const SaveFailure& failure) {
    const std::string text = what + ": " + failure.path + ": " + failure.reason;
    app.shell.log.LogWrite(text);
    app.dialogs.messageBox(text, MsgButtons::Ok, MsgIcon::Critical);
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* reason) {
    auto read = ReadUserFile(path, reason);
    if (read) bytes = std::move(*read);
    return read.has_value();
}
