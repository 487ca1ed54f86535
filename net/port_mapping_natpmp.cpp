#include "net/port_mapping_natpmp.h"

#include <arpa/inet.h>
#include <natpmp.h>
#include <poll.h>
#include <sys/time.h>

#include <chrono>

namespace {

// The gateway answers at once if at all; the library repeats a request
// after 250 ms, then 500 ms, so this gives it three tries.
constexpr std::chrono::milliseconds kAnswerBound{1000};

// Sends nothing itself: the request was queued by the caller. 0, or the
// library's error; the gateway then closed.
int exchange(natpmp_t& gateway, natpmpresp_t& answer) {
    const auto deadline = std::chrono::steady_clock::now() + kAnswerBound;
    int result = NATPMP_TRYAGAIN;
    while (result == NATPMP_TRYAGAIN && std::chrono::steady_clock::now() < deadline) {
        timeval retry{};
        getnatpmprequesttimeout(&gateway, &retry);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        const long wait = retry.tv_sec * 1000 + retry.tv_usec / 1000;
        pollfd watch{gateway.s, POLLIN, 0};
        ::poll(&watch, 1, static_cast<int>(wait < left.count() ? wait : left.count()) + 1);
        result = readnatpmpresponseorretry(&gateway, &answer);
    }
    closenatpmp(&gateway);
    return result;
}

}  // namespace

bool natpmp_external_address(char* text, std::size_t capacity) {
    natpmp_t gateway;
    natpmpresp_t answer{};
    if (initnatpmp(&gateway, 0, 0) != 0) {
        return false;  // no default gateway
    }
    if (sendpublicaddressrequest(&gateway) < 0) {
        closenatpmp(&gateway);
        return false;
    }
    if (exchange(gateway, answer) != 0 || answer.type != NATPMP_RESPTYPE_PUBLICADDRESS) {
        return false;
    }
    return inet_ntop(AF_INET, &answer.pnu.publicaddress.addr, text,
                     static_cast<socklen_t>(capacity)) != nullptr;
}

int natpmp_forward(unsigned short port, int lease_seconds) {
    natpmp_t gateway;
    natpmpresp_t answer{};
    if (initnatpmp(&gateway, 0, 0) != 0) {
        return -1;
    }
    // Removing one names no public port.
    const uint16_t public_port = lease_seconds > 0 ? port : 0;
    if (sendnewportmappingrequest(&gateway, NATPMP_PROTOCOL_TCP, port, public_port,
                                  static_cast<uint32_t>(lease_seconds)) < 0) {
        closenatpmp(&gateway);
        return -1;
    }
    const int result = exchange(gateway, answer);
    if (result == NATPMP_TRYAGAIN || result == NATPMP_ERR_RECVFROM) {
        return -1;  // no answer, or nobody listens there
    }
    if (result != 0 || answer.type != NATPMP_RESPTYPE_TCPPORTMAPPING) {
        return 0;
    }
    return answer.pnu.newportmapping.mappedpublicport;
}
