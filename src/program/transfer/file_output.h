#pragma once
// Writing a whole file durably (see core/durable_file.h): a failed write or a power cut leaves neither
// a partial file nor a damaged old one.
#include <string>

struct AppContext;
struct SaveFailure;

bool WriteWholeFile(const std::string& path, const std::string& bytes);

// Tells the user why a file was not saved: "<what>: <file>: <reason>" in the log and in a message box.
void TellSaveFailure(AppContext& app, const std::string& what, const SaveFailure& failure);

// The file's bytes, or nothing when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes);
