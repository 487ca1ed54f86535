#include "net/messages.h"

#include <cstdio>
#include <cstring>

#include "app/platform.h"
#include "net/connection.h"
#include "net/link.h"

void send_message(const char* text) {
    std::snprintf(net_link.send_buffer, sizeof net_link.send_buffer, "%s", text);
    send_to_peer(net_link.send_buffer, std::strlen(net_link.send_buffer) + 1);
}

void send_move(int row, int column) {
    char text[3];
    std::snprintf(text, sizeof text, "%d%d", column, row);
    send_message(text);
}

void message_timer(int) {
    arm_timer(100, message_timer);
}

void close_handler() {}
