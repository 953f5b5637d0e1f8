#pragma once
// The firmware web upload of the Ethernet product: one HTTP/1.0 multipart POST of an image file to the
// product's "/mpfsupload", on a TCP connection of its own. Every wait is bounded and ends when the
// connection fails or closes; the product's status line is logged and a refusal shown. A wait that
// throws (the window closed) closes the connection before it passes on.
#include <cstdint>
#include <functional>
#include <random>
#include <string>

class EventPump;
class LinkPort;
class Log;
class UserDialogs;

// A random text of letters and digits (0-9, A-Z, a-z, each equally likely).
std::string CreaBoundary(size_t length, std::mt19937& random);

// The whole request, header and body, with the boundary given; the file name goes into the part
// header unchanged. Content-Length counts the body in bytes.
std::string UploadHttp(const std::string& content, const std::string& host, const std::string& name,
                       const std::string& filename, const std::string& ctype, const std::string& boundary);

struct UploadLimits {
    int connectMs = 5000; // the product must accept the connection within this
    int answerMs = 30000; // and answer and close it within this after the request
};

class FirmwareUpload {
  public:
    FirmwareUpload(LinkPort& socket, EventPump& pump, UserDialogs& dialogs, Log& log);
    ~FirmwareUpload();

    UploadLimits limits;
    uint16_t port = 80;
    // A new boundary for every request (32 letters and digits).
    std::function<std::string()> makeBoundary;
    // Upload socket connected: further uploads are ignored meanwhile.
    bool SocketConnesso = false;

    // Reads the file, sends it to host and waits for the product's answer. Nothing is sent for an empty
    // path or a file that cannot be read (a message says why). True when the product answered 2xx.
    bool InviaDati(const std::string& host, const std::string& path);

  private:
    void error(const std::string& text, bool critical);

    LinkPort& socket_;
    EventPump& pump_;
    UserDialogs& dialogs_;
    Log& log_;
    std::string answer_;
};
