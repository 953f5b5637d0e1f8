#pragma once
// A serial port kept for one bench instrument: its COM number, settings text and the link under it.
// The COM number reaches a device path the same way the device link does, unless the bench's port
// map names another device for it (a simulated instrument on a pseudo-terminal, an adapter).
#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "factorytest/instruments/line_follower.h"

class LinkPort;

// COM number -> device path, in place of the system's own mapping.
using ComDevices = std::map<int, std::string>;

// "3=/dev/pts/4,7=/dev/pts/6": entries that do not read are skipped.
ComDevices ParseComDevices(const std::string& text);
std::string ComDevice(const ComDevices& devices, int number);

class InstrumentPort {
  public:
    using Clock = std::chrono::steady_clock;

    // Notes the time of every arrival the link announces (onBytesReceived), so that bytes read later are
    // known to have come no later than that.
    InstrumentPort(std::string name, LinkPort& link, int number, std::string settings);

    const std::string Name; // what the operator reads in messages: "relay unit", "multimeter", ...
    int Number;             // COM number; 0 = none set
    std::string Settings;   // "9600,n,8,1"

    bool isOpen() const;
    // Opens the port on its COM number; false with error() when there is none or it does not open.
    bool open(const ComDevices& devices);
    void close();
    std::string error() const { return error_; }
    // Sends the text when the port is open; false when it is closed or refused the bytes. What comes
    // from now on answers it: the line followed so far came before (LineFollower::mark).
    bool send(const std::string& text);
    // send, and returns once the text has had the time to leave at the port's speed: for the last
    // command before a close, which would otherwise cut it short.
    bool sendWhole(const std::string& text);
    // Every byte received and not read yet, its lines followed.
    std::string take();
    // Empties the input buffer, what the system holds included. The bytes are read and followed, not
    // thrown away unseen, so that the lines stay true to what came.
    void clear();
    // Reads what the link received, for nextLine(); false when nothing came.
    bool receive();
    // The next line the instrument ended in what was received: the bytes after its end wait for the next
    // call, or for take(). None when those bytes end no line. A read takes the line (see lastLineEnd).
    std::optional<FollowedLine> nextLine();
    // The line has fallen quiet, every byte received followed: a CR that came last was a lone one, and the
    // line it ended is taken as nextLine() takes one.
    std::optional<FollowedLine> lineFellQuiet();
    // The lines followed so far on this port: how it ends its lines, the head of the line now coming.
    // Forgotten at open().
    const LineFollower& lines() const { return lines_; }
    // A line end that cut text other than blanks: when it came, and that text (as the head had it).
    struct LineEnd {
        Clock::time_point at;
        std::string line;
    };
    // The last CR or LF that ended a line holding text other than blanks (not the LF of a CR LF, nor the
    // end of an empty or blank line), among the lines that no read took; none on a port just opened. Its
    // time is that of the last arrival the link announced before the bytes were read, or the time they
    // were read when the link announced none: never earlier than they came.
    const std::optional<LineEnd>& lastLineEnd() const { return lineEnd_; }
    LinkPort& link() { return link_; }

  private:
    // The link's latest announced arrival not yet read; shared with the link's handler, which may outlive
    // this port.
    struct Arrival {
        bool announced = false;
        Clock::time_point at;
    };

    std::optional<FollowedLine> follow(char c);

    LinkPort& link_;
    std::string error_;
    LineFollower lines_;
    std::string unread_; // received, not followed yet
    Clock::time_point unreadAt_;
    std::optional<LineEnd> lineEnd_;
    std::shared_ptr<Arrival> arrival_ = std::make_shared<Arrival>();
};

// The four instrument ports of the main window, used by the benches only.
struct InstrumentPorts {
    InstrumentPorts(LinkPort& relay, LinkPort& mult, LinkPort& supply, LinkPort& calibrator)
        : Seriale_switch("relay unit", relay, 5, "9600,n,8,1"),
          Seriale_mult("multimeter", mult, 3, "9600,n,8,1"),
          Seriale_alim("power supply", supply, 4, "2400,n,8,1"),
          Seriale_calib("calibrator", calibrator, 0, "9600,n,8,1") {}

    ComDevices Devices;
    InstrumentPort Seriale_switch;
    InstrumentPort Seriale_mult;
    InstrumentPort Seriale_alim;
    InstrumentPort Seriale_calib;
};
