#pragma once
// frm_Settings without its window: what the dialog lists, what it shows when it opens, and what OK does.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct AppContext;
struct ShellProcedures;
struct ShellState;

struct ModelListEntry {
    std::string Text;
    int Row = -1; // catalogue row; -1 for a separator, which cannot be chosen
};
std::vector<ModelListEntry> settingsModelList(const ShellState& shell);

inline constexpr std::array<std::string_view, 7> BaudRates{"1200",  "2400",  "9600",  "19200",
                                                           "38400", "57600", "115200"};
inline constexpr int ComPortCount = 32;

// The dialog's fields; numbers stay texts until OK, as the user typed them.
struct SettingsForm {
    int Channel = 0; // 0 Ethernet, 1 COM port
    std::string IpAddress;
    std::string PortText;
    std::string TimeoutTcpText;
    int ComIndex = 0;         // list position: port number - 1
    std::string SerialDevice; // a device path typed or picked instead of a COM number; empty for COMn
    std::string BaudRate;
    bool TwoStopBits = false;
    bool EchoRemove = false;
    bool ModemDialUp = false;
    std::string ModemNumber;
    std::string NodeText;
    int ModelRow = -1;
    int16_t AnimateTime = 0; // milliseconds, as loaded: kept unless the slider shows another second
    int AnimateSeconds = 0;  // the slider
    bool RegUpdate = false;
};

SettingsForm loadSettingsForm(const AppContext& ctx);
// The serial port as the list shows it ("COM3" or a device path), and back from what the user chose.
std::string serialChoiceText(const SettingsForm& form);
void setSerialChoice(SettingsForm& form, const std::string& text);
// A typed field OK cannot take: which one, and the message that names it and its range.
struct SettingsRefusal {
    enum Field { Node, IpAddress, Port, Timeout } field;
    std::string message;
};
// Nothing when every field the chosen channel uses holds a value it can take.
std::optional<SettingsRefusal> refuseSettings(const SettingsForm& form);
// The OK button: store, save, reconnect, check the model, map the registers; false (nothing changed) for a
// form refuseSettings refuses.
bool applySettings(AppContext& ctx, const ShellProcedures& procs, const SettingsForm& form);
