#pragma once
// The settings file "devSettings.dat": connection, model and language, one item per CR LF line.
// Lines 1..10: language, model code, channel, node address, IP address, port, link time-out, baud rate,
// two stop bits, modem dial-up; line 11 the serial device path of this system (empty: derived from the
// port number); line 12 the telephone number the modem link dials. Any later addition goes after the last line so older files still read.
#include <string>
#include <string_view>

#include "core/device_record.h"
#include "core/shell_state.h"
#include "core/user_dialogs.h"

constexpr std::string_view SettingsFileName = "devSettings.dat";

// Reads the file in folder over the current values. A missing or short file, or an item that does not
// read, keeps the value in place (a link time-out below MinLinkTimeout is raised to it); only the two stop-bit and modem flags become false when missing.
void LeggiSettings(ShellState& shell, DeviceRecord& device, const std::string& folder);

// Writes the file in folder durably (a failed write or a power cut leaves the old one whole).
// Returns false when it could not be written, with the file and the system's reason in reason.
bool SaveSettings(const ShellState& shell, const DeviceRecord& device, const std::string& folder,
                  std::string* reason = nullptr);

// SaveSettings that tells the user why (a log line and a message box) when the file could not be
// written; an empty folder means the program found no folder for its data.
bool SaveSettingsOrTell(ShellState& shell, const DeviceRecord& device, const std::string& folder,
                        UserDialogs& dialogs);
