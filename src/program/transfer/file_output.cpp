#include "program/transfer/file_output.h"

#include <fstream>
#include <iterator>

#include "core/app_context.h"
#include "core/durable_file.h"

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    return !SaveFileDurably(path, bytes);
}

void TellSaveFailure(AppContext& app, const std::string& what, const SaveFailure& failure) {
    const std::string text = what + ": " + failure.path + ": " + failure.reason;
    app.shell.log.LogWrite(text);
    app.dialogs.messageBox(text, MsgButtons::Ok, MsgIcon::Critical);
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in || TooLargeToRead(path)) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}
