// The router's side of port forwarding, through libminiupnpc.
#include <miniupnpc/miniupnpc.h>
#include <miniupnpc/upnpcommands.h>

#include <atomic>
#include <cstdio>
#include <mutex>

#include "net/port_mapping.h"

namespace {

// How long discovery listens for routers' answers after asking all at once;
// the library waits this long also after an answer, in case more come.
// Routers answer within a few milliseconds.
constexpr int kDiscoveryMilliseconds = 1000;
constexpr unsigned char kDiscoveryHops = 2;  // the home network, not beyond
constexpr const char* kDescription = "Sowrow";
constexpr const char* kProtocol = "TCP";

const char* const kRouterTypes[] = {"urn:schemas-upnp-org:device:InternetGatewayDevice:1",
                                    "urn:schemas-upnp-org:device:InternetGatewayDevice:2",
                                    "urn:schemas-upnp-org:service:WANIPConnection:1",
                                    "urn:schemas-upnp-org:service:WANIPConnection:2",
                                    "urn:schemas-upnp-org:service:WANPPPConnection:1",
                                    nullptr};

struct Router {
    UPNPUrls urls;
    IGDdatas data;
    char lan_address[64];  // this computer's, as the router sees it
};

// Held for every request to the router and for the record below, so that a
// forwarding being asked for is never missed by a close on another thread.
std::mutex router_mutex;
Router router;
bool asked = false;
bool opened = false;
char forwarded_port[8];
// Bumped by every close: a request begun before it is given up.
std::atomic<int> generation{0};

bool find_router(Router& found) {
    int error = 0;
    UPNPDev* devices = upnpDiscoverDevices(kRouterTypes, kDiscoveryMilliseconds, nullptr, nullptr,
                                           UPNP_LOCAL_PORT_ANY, 0, kDiscoveryHops, &error, 1);
    if (devices == nullptr) {
        return false;
    }
    // 2 is also its answer for a router whose address it counts as reserved,
    // which covers more than the ranges that cannot be reached: the address
    // is judged afterwards.
    const int kind = UPNP_GetValidIGD(devices, &found.urls, &found.data, found.lan_address,
                                      sizeof found.lan_address);
    freeUPNPDevlist(devices);
    if (kind == 1 || kind == 2) {
        return true;
    }
    if (kind != 0) {
        FreeUPNPUrls(&found.urls);
    }
    return false;
}

int ask_for_lease(const Router& target) {
    char lease[16];
    std::snprintf(lease, sizeof lease, "%d", kForwardingLeaseSeconds);
    return UPNP_AddPortMapping(target.urls.controlURL, target.data.first.servicetype,
                               forwarded_port, forwarded_port, target.lan_address, kDescription,
                               kProtocol, nullptr, lease);
}

// Holding router_mutex. Keeps the router when the port is forwarded.
bool forward_through(Router& found) {
    char external[40] = "";
    if (UPNP_GetExternalIPAddress(found.urls.controlURL, found.data.first.servicetype, external) !=
            UPNPCOMMAND_SUCCESS ||
        external[0] == '\0') {
        return false;  // without an address to give, nothing to say
    }
    // Nobody outside could come through: nothing is opened.
    if (!reachable_from_internet(external)) {
        set_forwarding(Forwarding::kUnreachable, external);
        return false;
    }
    if (ask_for_lease(found) != UPNPCOMMAND_SUCCESS) {
        set_forwarding(Forwarding::kRefused, "");
        return false;
    }
    router = found;
    opened = true;
    set_forwarding(Forwarding::kOpened, external);
    return true;
}

}  // namespace

void open_port_forwarding(unsigned short port) {
    int my_generation;
    {
        std::lock_guard<std::mutex> lock(router_mutex);
        if (asked) {
            return;
        }
        asked = true;
        my_generation = generation.load();
        std::snprintf(forwarded_port, sizeof forwarded_port, "%u", port);
    }
    Router found{};
    if (!find_router(found)) {
        return;
    }
    std::lock_guard<std::mutex> lock(router_mutex);
    if (generation.load() != my_generation || !forward_through(found)) {
        FreeUPNPUrls(&found.urls);
    }
}

void renew_port_forwarding() {
    std::lock_guard<std::mutex> lock(router_mutex);
    // A router that has meanwhile forgotten the forwarding makes it anew.
    // One that says no may have given the port to another computer, whose
    // forwarding closing ours would remove; a router out of reach for a
    // moment is asked again at the next renewal.
    if (opened && ask_for_lease(router) > 0) {
        opened = false;
        FreeUPNPUrls(&router.urls);
        set_forwarding(Forwarding::kRefused, "");
    }
}

void close_port_forwarding() {
    std::lock_guard<std::mutex> lock(router_mutex);
    ++generation;
    asked = false;
    set_forwarding(Forwarding::kNothingToSay, "");
    if (!opened) {
        return;
    }
    opened = false;
    UPNP_DeletePortMapping(router.urls.controlURL, router.data.first.servicetype, forwarded_port,
                           kProtocol, nullptr);
    FreeUPNPUrls(&router.urls);
}
