#include "support/libmodbus_server.h"

#include <modbus/modbus.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

#include "support/loopback_listener.h"

constexpr int TableSize = 1000;

LibmodbusServer::LibmodbusServer(uint8_t slave) : slave_(slave) {
    map_ = modbus_mapping_new(0, 0, TableSize, TableSize);
}

LibmodbusServer::~LibmodbusServer() {
    stop();
    modbus_mapping_free(map_);
}

uint16_t LibmodbusServer::startTcp() {
    uint16_t port = 0;
    listenFd_ = ListenOnLoopback(port);
    ctx_ = modbus_new_tcp("127.0.0.1", port);
    thread_ = std::thread([this] {
        while (!stopping_ && modbus_tcp_accept(ctx_, &listenFd_) >= 0) {
            serve();
            ::close(modbus_get_socket(ctx_));
        }
    });
    return port;
}

void LibmodbusServer::startRtu(const std::string& device, int baud) {
    ctx_ = modbus_new_rtu(device.c_str(), baud, 'N', 8, 1);
    modbus_set_slave(ctx_, slave_);
    if (modbus_connect(ctx_) != 0) throw std::runtime_error("libmodbus rtu connect");
    thread_ = std::thread([this] { serve(); });
}

void LibmodbusServer::serve() {
    // A short indication time-out lets the thread notice stop(); other errors end the session.
    modbus_set_indication_timeout(ctx_, 0, 100000);
    uint8_t query[MODBUS_TCP_MAX_ADU_LENGTH];
    while (!stopping_) {
        const int n = modbus_receive(ctx_, query);
        if (n > 0)
            modbus_reply(ctx_, query, n, map_);
        else if (n < 0 && errno != ETIMEDOUT && errno != EMBBADCRC)
            return;
    }
}

void LibmodbusServer::stop() {
    if (!ctx_) return;
    stopping_ = true;
    // The listening socket is shut to end a pending accept; a session notices the flag within 0.1 s.
    if (listenFd_ >= 0) ::shutdown(listenFd_, SHUT_RDWR);
    if (thread_.joinable()) thread_.join();
    if (listenFd_ >= 0)
        ::close(listenFd_);
    else
        modbus_close(ctx_);
    modbus_free(ctx_);
    ctx_ = nullptr;
}
