#include "discovery/device_search.h"

#include <tuple>

#include "comm/link.h"
#include "core/app_context.h"
#include "core/busy_run.h"
#include "core/resource_strings.h"
#include "discovery/search_protocol.h"
#include "discovery/typed_numbers.h"
#include "platform/datagram_socket.h"
#include "platform/local_addresses.h"

namespace {

constexpr int ResourceController = 602;
constexpr int ResourceControllerBrand3 = 605;
constexpr int ResourceGateway = 622;
constexpr uint8_t ControllerRow = 0;
constexpr uint8_t GatewayRow = 12;

struct CaptionText {
    const char* control;
    int entry;
};
constexpr std::array<CaptionText, 9> CaptionTexts{{{"frm_search", 101},
                                                   {"Label5_0", 102},
                                                   {"Label9", 103},
                                                   {"Frame5", 104},
                                                   {"Label4", 105},
                                                   {"Label6", 106},
                                                   {"Frame1", 107},
                                                   {"cmd_Search", 108},
                                                   {"cmd_stop", 109}}};

} // namespace

std::string SearchForm::portText() const {
    return cmb_porta >= 0 && cmb_porta < static_cast<int>(cmb_porta_items.size())
               ? cmb_porta_items[static_cast<size_t>(cmb_porta)]
               : std::string{};
}

DeviceSearch::DeviceSearch(AppContext& app, DatagramSocket& udp, const LocalAddresses& addresses,
                           DiscoveryServices services, SearchPorts ports)
    : app_(app), udp_(udp), addresses_(addresses), services_(std::move(services)), ports_(std::move(ports)) {
    udp_.onDatagram = [this](const std::string& payload, const std::string& sender) {
        UDP_DataArrival(payload, sender);
    };
}

DeviceSearch::~DeviceSearch() {
    udp_.onDatagram = nullptr;
}

void DeviceSearch::Form_Load(const std::vector<std::string>& machinePorts) {
    SetRes();
    form.cmb_porta_items = {"TCP/IP"};
    for (int i = FirstComItem; i <= ComItems; ++i)
        form.cmb_porta_items.push_back("COM" + std::to_string(i));
    form.cmb_porta_items.insert(form.cmb_porta_items.end(), machinePorts.begin(), machinePorts.end());
    form.cmb_porta = 0;
    form.cmd_Search_enabled = !busy_;
    changed();
}

void DeviceSearch::Form_Unload() {
    SearchRunning = false;
    app_.comm.SearchQueryA = 0;
    app_.comm.SearchQueryB = 0;
    udp_.close(); // the port is free at once, not at the end of the wait
    if (!busy_) return;
    closed_ = true;
    // A request waiting for its answer ends as soon as its link is gone.
    if (polling_) releaseScanLink();
}

void DeviceSearch::releaseScanLink() {
    if (app_.comm.CurrentDevice.Connected) Disconnetti(app_);
}

bool DeviceSearch::pause(double seconds, bool untilStop) {
    const auto ended = [this, untilStop] { return closed_ || (untilStop && !SearchRunning); };
    if (seconds <= 0)
        app_.pump.processEvents();
    else
        app_.pump.waitUntil(ended, static_cast<int>(seconds * 1000.0 + 0.5), false);
    return !ended();
}

void DeviceSearch::Form_Reopen(const std::vector<std::string>& machinePorts) {
    form = SearchForm{};
    manual = ManualBoxes{};
    Elenco.clear();
    Form_Load(machinePorts);
}

std::string DeviceSearch::modelName(int resource) const {
    return ResourceString(resource + app_.shell.BrandOffset).value_or("");
}

void DeviceSearch::SetRes() {
    const auto& text = app_.shell.UiText;
    form.Captions.clear();
    for (const CaptionText& c : CaptionTexts)
        form.Captions.emplace_back(c.control, text[static_cast<size_t>(c.entry)]);
    const bool brand3 = app_.shell.Flags.Brand3 != 0;
    const std::string controller = modelName(brand3 ? ResourceControllerBrand3 : ResourceController);
    form.chk_disp_ethernet_caption[0] = controller;
    form.chk_disp_ethernet[0] = true;
    form.chk_disp_ethernet_caption[1] = modelName(ResourceGateway);
    form.chk_disp_ethernet_shown[1] = !brand3;
    form.Option1_caption = {modelName(ResourceGateway), controller};
    form.Option1_0_shown = !brand3;
    form.SnifferShown = app_.shell.Flags.Internal != 0;
    form.chk_disp_ethernet[1] = false;
    if (!brand3) form.chk_disp_ethernet[2] = false;
    form.HeightTwips = app_.shell.Flags.Internal ? 12600 : 7500;
    changed();
}

void DeviceSearch::cmd_Search_Click() {
    if (busy_) return; // the running search returns first
    // The link's time-out field bounds a serial scan; the replies' wait only needs whole seconds that
    // fit AnswerTimeout.
    const bool ethernet = form.portText() == "TCP/IP";
    // A serial scan takes the user's link: never between the requests of a run.
    if (!ethernet && RefusedDuringRun(app_, "Search")) return;
    const auto timeout = typedTimeout(ethernet ? MaxWaitMs : MaxTimeoutMs);
    if (!timeout) return;
    // Every later serial transaction waits at least a second for its answer.
    app_.comm.AnswerTimeout = AnswerTimeoutFor(*timeout);
    SearchRunning = true;
    closed_ = false;
    for (DeviceRecord& d : app_.comm.DeviceTable)
        d.IpAddress.clear();
    busy_ = true;
    form.portNote.clear();
    stoppedAt_.clear();
    found_ = 0;
    listed_ = 0;
    beyondList_ = 0;
    notReplies_ = 0;
    form.cmd_Search_enabled = false;
    Elenco.clear();
    DeviceIndex = 0;
    changed();
    if (ethernet)
        ethernetSearch();
    else
        serialScan();
    busy_ = false;
    form.cmd_Search_enabled = true;
    changed();
}

void DeviceSearch::cmd_stop_Click() {
    SearchRunning = false;
    if (!busy_) form.cmd_Search_enabled = true;
    changed();
}

void DeviceSearch::List2_Click(int row) {
    if (row < 0 || row >= static_cast<int>(form.List2.size())) return;
    form.Text1 = form.List2[static_cast<size_t>(row)];
    changed();
}

void DeviceSearch::get_ip_add_Click() {
    form.loc_ip_add = localIp();
    changed();
}

std::string DeviceSearch::localIp() const {
    if (udp_.isBound() && udp_.localAddress() != "0.0.0.0") return udp_.localAddress();
    const auto list = addresses_.ipv4();
    return list.empty() ? "127.0.0.1" : list.front();
}

void DeviceSearch::ethernetSearch() {
    Elenco.add("", "rete", "Ethernet", "connect");
    udp_.close();
    form.List2 = addresses_.ipv4();
    form.loc_ip_add = localIp();
    // With no network but loopback the box keeps its address: the bind then names what it tried.
    if (!BindAddressSet && !form.List2.empty()) {
        form.Text1 = form.List2.front();
        BindAddressSet = true;
    }
    changed();
    if (!bindSearchSocket()) return;
    form.loc_ip_add = localIp();
    const bool controllers = form.chk_disp_ethernet[0] || form.chk_disp_ethernet[2];
    if (controllers && SearchRunning &&
        !sendQuery(QueryA, form.Loc_mask, app_.comm.SearchQueryA,
                   "Searching: Ethernet; " + modelName(ResourceController)))
        return;
    if (form.chk_disp_ethernet[1] && SearchRunning &&
        !sendQuery(QueryB, ports_.Broadcast, app_.comm.SearchQueryB,
                   "Searching: Ethernet;  " + modelName(ResourceGateway)))
        return;
    completion();
}

bool DeviceSearch::bindSearchSocket() {
    const std::string& address = form.Text1;
    BindResult r = udp_.bind(address, ports_.LocalPort);
    if (r == BindResult::AccessDenied) {
        // Binding a port below 1024 needs a capability; the search still hears devices that answer to
        // the sender's port.
        const std::string why = udp_.error();
        r = udp_.bind(address, 0);
        if (r == BindResult::Ok) {
            const std::string port = std::to_string(ports_.LocalPort);
            const std::string note = "Port " + port + " not allowed (" + why + "): searching from port " +
                                     std::to_string(udp_.localPort()) + "; devices answering to port " +
                                     port + " will not be heard";
            app_.shell.log.LogStart();
            app_.shell.log.LogWrite(note);
            form.portNote = note + ". To let the search listen on port " + port +
                            ", run once:\nsudo setcap cap_net_bind_service=+ep " +
                            (services_.programPath.empty() ? "<program>" : services_.programPath);
        }
    }
    if (r == BindResult::Ok) return true;
    errorPath("Cannot bind the search to " + (address.empty() ? "an empty Network bind" : address) +
              " port " + std::to_string(ports_.LocalPort) + ": " + udp_.error());
    return false;
}

bool DeviceSearch::sendQuery(const std::string& query, const std::string& host, int16_t& flag,
                             const std::string& label) {
    flag = -1;
    setLabel(label);
    if (!udp_.sendTo(query, host, ports_.DevicePort)) {
        errorPath("Cannot send the search to " + host + ": " + udp_.error());
        return false;
    }
    waitReplies();
    flag = 0;
    return true;
}

std::optional<int> DeviceSearch::typedTimeout(int most) {
    const auto ms = WholeNumber(form.txt_Timeout, 0, most);
    if (!ms)
        app_.dialogs.messageBox("Timeout: type a whole number of milliseconds from 0 to " +
                                    std::to_string(most) + ".",
                                MsgButtons::Ok, MsgIcon::Warning, "Melqo");
    return ms;
}

void DeviceSearch::waitReplies() {
    // The time-out box is read on every turn, so a change takes effect at once; a close ends the wait.
    const int64_t start = app_.pump.nowMs();
    for (;;) {
        const int64_t left = LeadingNumber(form.txt_Timeout) - (app_.pump.nowMs() - start);
        if (left <= 0 || !pause(static_cast<double>(std::min<int64_t>(left, 50)) / 1000.0)) return;
    }
}

void DeviceSearch::UDP_DataArrival(const std::string& payload, const std::string& sender) {
    // A flood costs a length check per datagram: no line beyond the list, no decoding of what is no reply.
    for (auto [flag, length, enter] :
         {std::tuple{app_.comm.SearchQueryA, ReplyLengthA, &DeviceSearch::enterReplyA},
          std::tuple{app_.comm.SearchQueryB, ReplyLengthB, &DeviceSearch::enterReplyB}}) {
        if (!flag) continue;
        if (!IsReplyLength(payload.size(), length))
            ++notReplies_;
        else if (listed_ >= MostDevices)
            ++beyondList_;
        else
            (this->*enter)(payload, sender);
    }
}

void DeviceSearch::enterReplyA(const std::string& payload, const std::string& sender) {
    const SearchReply r = DecodeReplyA(payload);
    const int n = ++listed_;
    DeviceIndex = static_cast<int16_t>(n);
    const std::string id = std::to_string(n);
    const std::string name = app_.shell.Flags.Brand3 ? "LMX3" : r.Name;
    const std::string node = "nodo" + id;
    Elenco.add("rete", node, name + " [" + sender + "]", "host");
    Elenco.add(node, "ip" + id, "IP: " + sender);
    Elenco.add(node, "mac" + id, "MAC: " + r.MacText);
    Elenco.add(node, "ipEE" + id, "IP_EE: " + DottedText(r.StoredIp));
    Elenco.add(node, "Mask" + id, "Mask: " + DottedText(r.Mask));
    Elenco.add(node, "addr" + id, "Addr: " + std::to_string(r.Node));
    Elenco.add(node, "init" + id, "Init: " + std::to_string(r.Init));
    if (app_.shell.Flags.Internal) Elenco.add(node, "SwInt" + id, "intSw:  " + std::to_string(r.SwInt));
    DeviceRecord d;
    d.Channel = 0;
    d.IpAddress = sender;
    d.Port = static_cast<int16_t>(ports_.ModbusPort);
    std::copy(r.StoredIp.begin(), r.StoredIp.end(), d.IpBytes.begin());
    d.Mask = DottedText(r.Mask);
    std::copy(r.Mask.begin(), r.Mask.end(), d.MaskBytes.begin());
    d.MacAddress = r.MacText;
    std::copy(r.Mac.begin(), r.Mac.end(), d.MacBytes.begin());
    d.DeviceName = name;
    d.NodeAddress = r.Node;
    d.ModelIndex = ControllerRow;
    d.Init = r.Init == 1 ? -1 : 0;
    writeEntry(n, d);
    Elenco.ensureVisible(node, true);
}

void DeviceSearch::enterReplyB(const std::string& payload, const std::string& sender) {
    const SearchReply r = DecodeReplyB(payload);
    const int n = ++listed_;
    DeviceIndex = static_cast<int16_t>(n);
    const std::string id = std::to_string(n);
    const std::string name = modelName(ResourceGateway);
    const std::string node = "nodo" + id;
    Elenco.add("rete", node, name);
    Elenco.add(node, "ip" + id, "IP: " + sender);
    Elenco.add(node, "mac" + id, "MAC: " + r.MacText);
    DeviceRecord d;
    d.Channel = 0;
    d.IpAddress = sender;
    d.Port = static_cast<int16_t>(ports_.ModbusPort);
    d.MacAddress = r.MacText;
    std::copy(r.Mac.begin(), r.Mac.end(), d.MacBytes.begin());
    d.DeviceName = name;
    d.NodeAddress = 0;
    d.ModelIndex = GatewayRow;
    writeEntry(n, d);
    Elenco.ensureVisible(node);
}

void DeviceSearch::writeEntry(int n, const DeviceRecord& record) {
    // Devices beyond the table are listed but get no record.
    if (n < 1 || n >= DeviceTableSize) return;
    app_.comm.DeviceTable[static_cast<size_t>(n)] = record;
    found_ = n;
}

void DeviceSearch::completion() {
    // The log tells how many devices were listed, where Stop ended a serial scan and when answers
    // could not be heard (the window shows why below the label).
    std::string done = std::string(closed_ ? "Search ended by closing its window" : "Search Complete") +
                       ", devices found: " + std::to_string(listed_);
    if (!stoppedAt_.empty()) done += " (stopped at " + stoppedAt_ + ")";
    if (!form.portNote.empty()) done += " (port " + std::to_string(ports_.LocalPort) + " not heard)";
    app_.shell.log.LogStart();
    app_.shell.log.LogWrite(done);
    setLabel("Search Complete");
    udp_.close();
    logDropped();
}

void DeviceSearch::logDropped() {
    if (!beyondList_ && !notReplies_) return;
    app_.shell.log.LogStart();
    app_.shell.log.LogWrite("Search: " + std::to_string(beyondList_) + " replies beyond the " +
                            std::to_string(MostDevices) + " devices of the list dropped, " +
                            std::to_string(notReplies_) + " datagrams of no reply's length ignored");
}

void DeviceSearch::errorPath(const std::string& message) {
    udp_.close();
    logDropped();
    // A later datagram is never taken for an answer to this search.
    app_.comm.SearchQueryA = 0;
    app_.comm.SearchQueryB = 0;
    setLabel("Search failed");
    app_.shell.log.LogStart();
    app_.shell.log.LogWrite(message);
    app_.dialogs.messageBox(message, MsgButtons::Ok, MsgIcon::Warning, "Melqo");
}

void DeviceSearch::setLabel(const std::string& text) {
    if (closed_) return; // the label belongs to the window's next opening
    form.lbl_search = text;
    changed();
}

void DeviceSearch::changed() {
    if (onFormChanged) onFormChanged();
}
