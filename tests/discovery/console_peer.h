#pragma once
// A gateway's set-up console on loopback: answers each step of the default set-up in pieces.
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "discovery/device_server_setup.h"
#include "support/loopback_listener.h"

// Accepts one connection, then for each step reads what the step sends and answers in pieces.
class ConsolePeer {
  public:
    ConsolePeer(std::vector<std::vector<size_t>> answers, const char* address = "127.0.0.1")
        : answers_(std::move(answers)) {
        listener_ = ListenOnLoopback(port, address);
        thread_ = std::thread([this] { serve(); });
    }
    ~ConsolePeer() {
        shutdown(listener_, SHUT_RDWR);
        close(listener_);
        thread_.join();
    }
    uint16_t port = 0;
    std::vector<std::string> received; // what each step sent

  private:
    void serve() {
        int c = accept(listener_, nullptr, nullptr);
        if (c < 0) return;
        for (size_t step = 0; step < answers_.size(); ++step) {
            size_t want = DeviceServerSetup[step].text.size();
            std::string got;
            char buf[256];
            while (got.size() < want) {
                ssize_t n = recv(c, buf, sizeof buf, 0);
                if (n <= 0) break;
                got.append(buf, static_cast<size_t>(n));
            }
            received.push_back(got);
            for (size_t piece : answers_[step]) {
                std::string text(piece, 'x');
                send(c, text.data(), text.size(), MSG_NOSIGNAL);
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        close(c);
    }
    std::vector<std::vector<size_t>> answers_;
    int listener_;
    std::thread thread_;
};
