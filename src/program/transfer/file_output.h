#pragma once
// Writing a whole file durably (see core/durable_file.h): a failed write or a power cut leaves neither
// a partial file nor a damaged old one.
#include <string>

struct AppContext;
struct SaveFailure;

// False, with the system's reason in *reason, when the file could not be written.
bool WriteWholeFile(const std::string& path, const std::string& bytes, std::string* reason = nullptr);

// Tells the user why a file was not saved: "<what>: <file>: <reason>" in the log and in a message box.
void TellSaveFailure(AppContext& app, const std::string& what, const SaveFailure& failure);

// The file's bytes, or false with the reason in *reason when it cannot be read (see ReadUserFile).
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* reason = nullptr);
