// The firmware web upload against an HTTP capture peer on loopback.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <QTcpServer>
#include <QTcpSocket>

#include "core/log.h"
#include "factorytest/ethernet_product/firmware_upload.h"
#include "platform/qt_event_pump.h"
#include "platform/qt_link_port.h"
#include "support/fake_dialogs.h"
#include "support/qt_test_app.h"

namespace {

const std::string Boundary = "AbCdEfGhIjKlMnOpQrStUvWxYz012345";

// Takes one request whole (by its Content-Length), answers it and closes, as the product does.
struct CapturePeer {
    explicit CapturePeer(std::string reply) {
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server, &QTcpServer::newConnection, [this, reply] {
            QTcpSocket* s = server.nextPendingConnection();
            ++connections;
            QObject::connect(s, &QTcpSocket::readyRead, [this, s, reply] {
                request += s->readAll().toStdString();
                const size_t end = request.find("\r\n\r\n");
                const size_t length = request.find("Content-Length: ");
                if (end == std::string::npos || length == std::string::npos) return;
                if (request.size() < end + 4 + std::stoul(request.substr(length + 16))) return;
                s->write(reply.data(), static_cast<qint64>(reply.size()));
                s->disconnectFromHost();
            });
        });
    }
    uint16_t port() const { return server.serverPort(); }
    QTcpServer server;
    std::string request;
    int connections = 0;
};

struct UploadWorld {
    UploadWorld() {
        QtTestApp();
        upload.makeBoundary = [] { return Boundary; };
        upload.limits = {2000, 2000};
    }
    std::string file(const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    ~UploadWorld() { std::filesystem::remove(path); }

    std::string path =
        (std::filesystem::temp_directory_path() / ("melqo-fw-" + std::to_string(::getpid()))).string();
    QtEventPump pump;
    FakeDialogs dialogs;
    Log log;
    QtLinkPort socket;
    FirmwareUpload upload{socket, pump, dialogs, log};
};

std::string expectedRequest(const std::string& filename, const std::string& content) {
    const std::string body = "--" + Boundary + "\r\nContent-Disposition: form-data; name=\"i\"; filename=\"" +
                             filename + "\"\r\nContent-Type: application/octet-stream\r\n\r\n" + content +
                             "\r\n--" + Boundary + "--";
    return "POST /mpfsupload HTTP/1.0\r\nHost: 127.0.0.1\r\nAuthorization: Basic Vq3LmT8xRzKp0WnY\r\n"
           "Content-Type: multipart/form-data, boundary=" +
           Boundary + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

TEST(FirmwareUpload, TheProductReceivesTheExactRequestAndItsAnswerIsReported) {
    std::string everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte += static_cast<char>(b);
    struct Case {
        std::string content, reply;
        bool accepted;
        std::string logged;
    };
    for (const Case& c : {Case{everyByte, "HTTP/1.0 200 OK\r\n\r\ndone", true, "HTTP/1.0 200 OK"},
                          Case{"", "HTTP/1.0 401 Unauthorized\r\n\r\n", false, "HTTP/1.0 401 Unauthorized"},
                          Case{"abc", "", false, "no answer"}}) {
        UploadWorld w;
        CapturePeer peer(c.reply);
        w.upload.port = peer.port();
        const std::string path = w.file(c.content);
        EXPECT_EQ(w.upload.InviaDati("127.0.0.1", path), c.accepted);
        EXPECT_EQ(peer.request, expectedRequest(path, c.content));
        EXPECT_EQ(w.log.lines().back().substr(0, c.logged.size()), c.logged);
        EXPECT_EQ(w.dialogs.shown.empty(), c.accepted);
        if (!c.accepted) {
            EXPECT_EQ(w.dialogs.boxes.back().text, c.logged);
        }
        EXPECT_FALSE(w.upload.SocketConnesso);
    }
}

TEST(FirmwareUpload, NothingIsSentWithoutAFileAndAFailedConnectionEndsTheWait) {
    UploadWorld w;
    CapturePeer peer("HTTP/1.0 200 OK\r\n\r\n");
    w.upload.port = peer.port();
    for (const std::string& path :
         {std::string(), w.path + ".missing", std::filesystem::temp_directory_path().string()}) {
        EXPECT_FALSE(w.upload.InviaDati("127.0.0.1", path)) << path;
        EXPECT_EQ(w.dialogs.boxes.back().title, "ERROR");
    }
    w.pump.pausa(0.05);
    EXPECT_EQ(peer.connections, 0);
    // Nobody listens there: the refusal ends the wait and is shown.
    const uint16_t closed = peer.port();
    peer.server.close();
    w.upload.port = closed;
    w.dialogs.boxes.clear();
    EXPECT_FALSE(w.upload.InviaDati("127.0.0.1", w.file("x")));
    ASSERT_EQ(w.dialogs.boxes.size(), 1u);
    EXPECT_EQ(w.dialogs.boxes[0].icon, MsgIcon::Warning);
}

TEST(FirmwareUpload, AProductThatAnswersWithoutEndIsHeldToItsStatusLine) {
    UploadWorld w;
    w.upload.limits.answerMs = 500;
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    // Answers the first request bytes with an endless line of garbage.
    QObject::connect(&server, &QTcpServer::newConnection, [&server] {
        QTcpSocket* s = server.nextPendingConnection();
        const QByteArray chunk(64 * 1024, 'x');
        auto more = [s, chunk] {
            if (s->bytesToWrite() < chunk.size()) s->write(chunk);
        };
        QObject::connect(s, &QTcpSocket::readyRead, s, [s, more] { s->readAll(), more(); });
        QObject::connect(s, &QTcpSocket::bytesWritten, s, more);
    });
    w.upload.port = server.serverPort();
    EXPECT_FALSE(w.upload.InviaDati("127.0.0.1", w.file("image")));
    ASSERT_EQ(w.dialogs.boxes.size(), 1u);
    EXPECT_EQ(w.dialogs.boxes[0].text, std::string(256, 'x'));
}

TEST(FirmwareUpload, BoundariesAreLettersAndDigitsAndNewEachTime) {
    std::mt19937 random(7);
    const std::string a = CreaBoundary(32, random), b = CreaBoundary(32, random);
    EXPECT_EQ(a.size(), 32u);
    EXPECT_NE(a, b);
    EXPECT_EQ(a.find_first_not_of("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"),
              std::string::npos);
}

} // namespace
