#include "factorytest/ethernet_product/firmware_upload.h"

#include <algorithm>
#include <optional>

#include "core/log.h"
#include "core/event_pump.h"
#include "core/file_read.h"
#include "core/link_port.h"
#include "core/user_dialogs.h"

namespace {

constexpr const char* CrLf = "\r\n";
constexpr const char* Credential = "Vq3LmT8xRzKp0WnY";
// Only the status line of the answer is used: what the product sends past this is read and dropped, so
// a product that answers without end cannot grow the program.
constexpr size_t AnswerLimit = 256;

bool isAlphanumeric(int c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The status line of an answer, empty when none came.
std::string statusLine(const std::string& answer) {
    return answer.substr(0, answer.find(CrLf));
}

bool accepted(const std::string& status) {
    // "HTTP/1.x 2nn ..."
    const size_t blank = status.find(' ');
    return status.rfind("HTTP/", 0) == 0 && blank != std::string::npos && status.size() > blank + 1 &&
           status[blank + 1] == '2';
}

} // namespace

std::string CreaBoundary(size_t length, std::mt19937& random) {
    std::uniform_int_distribution<int> code(0, 126);
    std::string text;
    while (text.size() < length) {
        const int c = code(random);
        if (isAlphanumeric(c)) text += static_cast<char>(c);
    }
    return text;
}

std::string UploadHttp(const std::string& content, const std::string& host, const std::string& name,
                       const std::string& filename, const std::string& ctype, const std::string& boundary) {
    const std::string body = "--" + boundary + CrLf + "Content-Disposition: form-data; name=\"" + name +
                             "\"; filename=\"" + filename + "\"" + CrLf + "Content-Type: " + ctype + CrLf +
                             CrLf + content + CrLf + "--" + boundary + "--";
    return std::string("POST /mpfsupload HTTP/1.0") + CrLf + "Host: " + host + CrLf +
           "Authorization: Basic " + Credential + CrLf +
           "Content-Type: multipart/form-data, boundary=" + boundary + CrLf +
           "Content-Length: " + std::to_string(body.size()) + CrLf + CrLf + body;
}

FirmwareUpload::FirmwareUpload(LinkPort& socket, EventPump& pump, UserDialogs& dialogs, Log& log)
    : socket_(socket), pump_(pump), dialogs_(dialogs), log_(log) {
    makeBoundary = [random = std::mt19937(std::random_device{}())]() mutable {
        return CreaBoundary(32, random);
    };
    socket_.onBytesReceived = [this] {
        const std::string bytes = socket_.readAll();
        answer_.append(bytes, 0, AnswerLimit - std::min(AnswerLimit, answer_.size()));
    };
}

FirmwareUpload::~FirmwareUpload() {
    socket_.onBytesReceived = nullptr;
}

void FirmwareUpload::error(const std::string& text, bool critical) {
    log_.LogStart();
    log_.LogWrite(text);
    dialogs_.messageBox(text, MsgButtons::Ok, critical ? MsgIcon::Critical : MsgIcon::Warning, "ERROR");
}

bool FirmwareUpload::InviaDati(const std::string& host, const std::string& path) {
    if (SocketConnesso) return false;
    if (path.empty()) {
        error("No file for this product", true);
        return false;
    }
    std::string reason;
    const std::optional<std::string> content = ReadUserFile(path, &reason);
    if (!content) {
        error("Cannot read " + path + ": " + reason, true);
        return false;
    }
    const std::string request =
        UploadHttp(*content, host, "i", path, "application/octet-stream", makeBoundary());
    answer_.clear();
    socket_.connectTcp(host, port);
    try {
        if (!pump_.waitUntil([this] { return socket_.isConnected() || socket_.failed(); }, limits.connectMs,
                             false) ||
            !socket_.isConnected()) {
            const std::string why = socket_.failed() ? socket_.error() : "Connection Timeout";
            socket_.close();
            error(why, false);
            return false;
        }
        SocketConnesso = true;
        if (socket_.write(request))
            pump_.waitUntil([this] { return !socket_.isConnected(); }, limits.answerMs, false);
    } catch (...) { // a wait that the window's close ended: the connection goes with it
        socket_.close();
        SocketConnesso = false;
        throw;
    }
    socket_.close();
    SocketConnesso = false;
    const std::string status = statusLine(answer_);
    log_.LogWrite(status.empty() ? "no answer" : status);
    if (accepted(status)) return true;
    error(status.empty() ? "no answer" : status, false);
    return false;
}
