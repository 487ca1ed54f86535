#include "net/link.h"

NetLink net_link;

void clear_message_buffers() {
    std::lock_guard<std::mutex> lock(net_link.inbox_mutex);
    net_link.last_received[0] = '\0';
    net_link.inbox[0] = '\0';
}
