#pragma once
// frm_search without its window: the values of its controls, the device tree Elenco, the search over
// UDP or over a serial line, and the actions on a found device. Every procedure runs on the window
// thread; the waits run the event loop, so the window stays live and Stop works.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "discovery/device_tree.h"
#include "discovery/manual_assignment.h"
#include "discovery/node_identity.h"

struct AppContext;
struct DeviceRecord;
class LinkPort;
class ProgramRunner;
class DatagramSocket;
class LocalAddresses;

// The protocol's fixed addresses and ports, which tests replace.
struct SearchPorts {
    uint16_t LocalPort = 809;    // the devices answer to this port
    uint16_t DevicePort = 30718; // queries and commands go to this port
    uint16_t ModbusPort = 502;   // the Modbus TCP port of a found device
    uint16_t ConsolePort = 9999; // a gateway's set-up console
    std::string Broadcast = "255.255.255.255";
    int FirstSubNode = 1;
    int LastSubNode = 254;
    uint16_t SnifferPort = 1001; // the sniffer's commands go to this port of the device
};

// What the actions need outside the program's state.
struct DiscoveryServices {
    std::function<void(const std::string&)> setClipboard;
    std::function<void(const std::string&)> openUrl;
    std::function<void()> redrawRegisters;                 // Registri.Redraw, the view created first
    std::function<std::unique_ptr<LinkPort>()> newTcpLink; // the gateway console's own connections
    ProgramRunner* runner = nullptr;                       // ip, ping
    std::function<void(const std::string& host, uint16_t port)> openTerminal; // a console window
    std::string programPath; // the executable, for the command that lets it bind the search port
};

constexpr int BaudChoices = 8;
constexpr int FirstComItem = 1; // cmb_porta item i (1..32) is COMi
constexpr int ComItems = 32;

// The controls' values, as the window shows them.
struct SearchForm {
    std::vector<std::string> cmb_porta_items; // "TCP/IP", COM1..COM32, then the machine's serial devices
    int cmb_porta = 0;                        // selected item
    std::string txt_Timeout = "1000";
    std::array<bool, 3> chk_disp_ethernet{true, false, true};
    std::array<bool, 3> chk_disp_ethernet_shown{true, true, true};
    std::array<std::string, 3> chk_disp_ethernet_caption{"", "", "JXV9865"};
    int chk_baud = 5; // 38400
    std::array<std::string, 2> txt_indir{"1", "32"};
    std::string Text1 = "192.168.1.1";
    std::string Loc_mask = "255.255.255.255";
    std::string lbl_search;
    // What the search could not hear, with the command that lets it; empty when it hears everything.
    std::string portNote;
    std::array<std::string, 2> Option1_caption; // Search by MAC: the gateway and the controller family
    bool Option1_0_shown = true;
    bool SnifferShown = false;
    std::vector<std::string> List2;
    std::string loc_ip_add;
    bool cmd_Search_enabled = true;
    int HeightTwips = 7500; // taller in the internal build, which shows the sniffer below
    // Captions by control name, in English or Italian.
    std::vector<std::pair<std::string, std::string>> Captions;

    std::string portText() const;
};

class DeviceSearch {
  public:
    static constexpr std::array<const char*, BaudChoices> Bauds{"1200",  "2400",  "4800",  "9600",
                                                                "19200", "38400", "57600", "115200"};

    DeviceSearch(AppContext& app, DatagramSocket& udp, const LocalAddresses& addresses,
                 DiscoveryServices services, SearchPorts ports = {});
    ~DeviceSearch();

    SearchForm form;
    DeviceTree Elenco;
    int16_t DeviceIndex = 0;
    bool SearchRunning = false;
    bool BindAddressSet = false;
    std::function<void()> onFormChanged;

    void Form_Load(const std::vector<std::string>& machinePorts = {});
    // The window closed: a running search, scan or gateway set-up ends at once (every wait and loop of
    // it tests the flag this sets), the search socket is closed and a scan's link let go, and no later
    // datagram is taken for a reply.
    void Form_Unload();
    // The window opened again after a close: its controls start as designed (empty tree, TCP/IP, "1000",
    // Network bind "192.168.1.1") and Form_Load runs again; DeviceIndex, BindAddressSet and the device
    // table keep what they hold.
    void Form_Reopen(const std::vector<std::string>& machinePorts = {});
    void SetRes();
    void cmd_Search_Click();
    void cmd_stop_Click();
    void List2_Click(int row);
    void get_ip_add_Click();
    // The receive event of the search socket.
    void UDP_DataArrival(const std::string& payload, const std::string& sender);

    // The tree's events and the actions of the device pop-up menu.
    void Elenco_NodeClick(const std::string& key);
    void Elenco_DblClick();
    void SetAsController();
    void CopyMAC();
    void CopyIP();
    void SetIP();
    void SearchSubNodes();
    // The default set-up of a gateway over its console port.
    void ConfiguraServer();
    // Search by MAC: the boxes of the panel and its Connect button.
    ManualBoxes manual;
    void cmd_Manual_Click();

    // A search or a sub-node scan is running.
    bool busy() const { return busy_; }
    // Entries of DeviceTable written by the current search (devices 1..found).
    int found() const { return found_; }
    // The most devices one search lists: the entries of DeviceTable after entry 0.
    static constexpr int MostDevices = 100;

  private:
    void ethernetSearch();
    void serialScan();
    void waitReplies();
    // Pausa that ends early when the window closes, and with untilStop also on Stop; false then.
    bool pause(double seconds, bool untilStop = false);
    // Neither Stop nor a close has ended the search or scan.
    bool goingOn() const { return SearchRunning && !closed_; }
    // After a close: the link a scan opened is let go.
    void releaseScanLink();
    // The time-out box as milliseconds; a message and nullopt when it holds no whole number from 0 to most.
    std::optional<int> typedTimeout(int most);
    // One function-4 request for registers 0..6 of the address, answered by a device that names itself.
    std::optional<NodeIdentity> pollIdentity(int address, int16_t linkMode);
    bool sendQuery(const std::string& query, const std::string& host, int16_t& flag,
                   const std::string& label);
    bool bindSearchSocket();
    void enterReplyA(const std::string& payload, const std::string& sender);
    void enterReplyB(const std::string& payload, const std::string& sender);
    void writeEntry(int n, const DeviceRecord& record);
    void addSerialDevice(const NodeIdentity& id);
    void completion();
    // One log line for the replies a search did not list.
    void logDropped();
    void errorPath(const std::string& message);
    void setLabel(const std::string& text);
    // The selected device, when it is one of the current search's.
    DeviceRecord* selected();
    std::string localIp() const;
    std::string modelName(int resource) const;
    void changed();

    AppContext& app_;
    DatagramSocket& udp_;
    const LocalAddresses& addresses_;
    DiscoveryServices services_;
    SearchPorts ports_;
    bool busy_ = false;
    // The window closed during the running search, scan or set-up; cleared when the next one starts.
    bool closed_ = false;
    // A scan's requests run on the link: a close ends the one in flight by closing the link.
    bool polling_ = false;
    int found_ = 0;
    // Devices the current search listed: numbers them, whatever line the user selects meanwhile.
    int listed_ = 0;
    int beyondList_ = 0;    // replies after the list was full
    int notReplies_ = 0;    // datagrams of no reply's length
    std::string stoppedAt_; // where Stop ended a serial scan
};
