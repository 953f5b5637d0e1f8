#pragma once
// Opening and closing the link to the current device.
#include <string>

struct AppContext;
struct DeviceRecord;

// Opens the link of app.comm.CurrentDevice on app.link (serial, serial through the modem, or TCP);
// the outcome is CurrentDevice.Connected, the log and the status bar.
void Connetti(AppContext& app);
// Closes the link unless a polling loop runs (PollStop = 0).
void Disconnetti(AppContext& app);
// Logs in one line the bytes the link dropped that no line has told yet; a transaction calls it as it ends.
void LogDroppedInput(AppContext& app);

// The serial device behind a device record: its SerialDevice path when set, otherwise COMn maps to
// /dev/ttyUSB(n-1) when that exists and to /dev/ttyS(n-1) when not.
std::string SerialDevicePath(const DeviceRecord& device);
// COMn (n from 1) on this system: /dev/ttyUSB(n-1) when that exists, /dev/ttyS(n-1) when not.
std::string ComDevicePath(int number);
// "9600,n,8,1" or "9600,n,8,2"; the modem link always uses one stop bit.
std::string SerialSettingsText(const DeviceRecord& device);
