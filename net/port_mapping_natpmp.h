// NAT-PMP, for routers that take no UPnP requests: the default gateway is
// asked directly, each request waited for a bounded time.
#pragma once

#include <cstddef>

// The gateway's external address, dotted; false when it does not answer.
bool natpmp_external_address(char* text, std::size_t capacity);

// Asks the gateway to forward TCP `port` to this computer for `lease_seconds`,
// or to stop forwarding it with a lease of 0. The public port it maps: the
// same when it does as asked; 0 when it answers with an error; -1 when it
// does not answer.
int natpmp_forward(unsigned short port, int lease_seconds);
