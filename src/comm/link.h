#pragma once
// Opening and closing the link to the current device.
#include <string>

struct AppContext;
struct CommState;
struct DeviceRecord;

// Opens the link of app.comm.CurrentDevice on app.link (serial, serial through the modem, or TCP);
// the outcome is CurrentDevice.Connected, the log and the status bar.
void Connetti(AppContext& app);
// Closes the link unless a polling loop runs (PollStop = 0).
void Disconnetti(AppContext& app);
// A new link may lead to another device: nothing learnt of the last one's answers holds for it. Connetti
// does this; so does whatever opens a link of its own for the transaction.
void ForgetLinkAnswers(CommState& comm);
// Closes the TCP connection and opens a new one to the current device's address and port, holding user
// input while it waits (a request is under way), and logs why the first time after a connect. The same
// address leads to the same device: what was learnt of its answers holds. Empty when connected; otherwise
// why not: the link is then lost, told through onLinkLost like a broken one (unless the program is closing).
std::string ReconnectTcp(AppContext& app);
// Logs in one line the bytes the link dropped that no line has told yet; a transaction calls it as it ends.
void LogDroppedInput(AppContext& app);

// The serial device behind a device record: its SerialDevice path when set, otherwise COMn maps to
// /dev/ttyUSB(n-1) when that exists and to /dev/ttyS(n-1) when not.
std::string SerialDevicePath(const DeviceRecord& device);
// COMn (n from 1) on this system: /dev/ttyUSB(n-1) when that exists, /dev/ttyS(n-1) when not.
std::string ComDevicePath(int number);
// "9600,n,8,1" or "9600,n,8,2"; the modem link always uses one stop bit.
std::string SerialSettingsText(const DeviceRecord& device);
