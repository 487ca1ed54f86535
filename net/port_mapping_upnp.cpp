// The router's side of port forwarding: UPnP through libminiupnpc, else
// NAT-PMP.
#include <miniupnpc/miniupnpc.h>
#include <miniupnpc/upnpcommands.h>

#include <arpa/inet.h>

#include <atomic>
#include <cstdio>
#include <mutex>

#include "net/port_mapping.h"
#include "net/port_mapping_natpmp.h"

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

enum class Way { kNone, kUpnp, kNatPmp };

// Held for every request to the router and for the record below, so that a
// forwarding being asked for is never missed by a close on another thread.
std::mutex router_mutex;
Router router;  // the UPnP one that forwards
bool asked = false;
Way opened_by = Way::kNone;
unsigned short forwarded_port = 0;
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
    char port[8], lease[16];
    std::snprintf(port, sizeof port, "%u", forwarded_port);
    std::snprintf(lease, sizeof lease, "%d", kForwardingLeaseSeconds);
    return UPNP_AddPortMapping(target.urls.controlURL, target.data.first.servicetype, port, port,
                               target.lan_address, kDescription, kProtocol, nullptr, lease);
}

// Nobody outside could come through such an address: nothing is opened.
bool worth_forwarding(const char* external) {
    if (reachable_from_internet(external)) {
        return true;
    }
    set_forwarding(Forwarding::kUnreachable, external);
    return false;
}

// Holding router_mutex. Keeps the router when the port is forwarded.
bool forward_through(Router& found) {
    char external[40] = "";
    if (UPNP_GetExternalIPAddress(found.urls.controlURL, found.data.first.servicetype, external) !=
            UPNPCOMMAND_SUCCESS ||
        external[0] == '\0' || !worth_forwarding(external)) {
        return false;  // no address to give, or one nobody can reach
    }
    if (ask_for_lease(found) != UPNPCOMMAND_SUCCESS) {
        set_forwarding(Forwarding::kRefused, "");
        return false;
    }
    router = found;
    opened_by = Way::kUpnp;
    set_forwarding(Forwarding::kOpened, external);
    return true;
}

// Holding router_mutex.
void forward_by_natpmp(const char* external) {
    if (!worth_forwarding(external)) {
        return;
    }
    const int mapped = natpmp_forward(forwarded_port, kForwardingLeaseSeconds);
    if (mapped == forwarded_port) {
        opened_by = Way::kNatPmp;
        set_forwarding(Forwarding::kOpened, external);
        return;
    }
    // A joiner always comes to the game's port: another one is no use.
    if (mapped > 0) {
        natpmp_forward(forwarded_port, 0);
    }
    if (mapped >= 0) {
        set_forwarding(Forwarding::kRefused, "");
    }
}

// Holding router_mutex. Removes nothing from the router.
void forget_forwarding() {
    if (opened_by == Way::kUpnp) {
        FreeUPNPUrls(&router.urls);
    }
    opened_by = Way::kNone;
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
        forwarded_port = port;
    }
    Router found{};
    if (find_router(found)) {
        std::lock_guard<std::mutex> lock(router_mutex);
        if (generation.load() != my_generation || !forward_through(found)) {
            FreeUPNPUrls(&found.urls);
        }
        return;
    }
    // No UPnP router: perhaps one that speaks NAT-PMP.
    char external[INET_ADDRSTRLEN];
    if (natpmp_external_address(external, sizeof external)) {
        std::lock_guard<std::mutex> lock(router_mutex);
        if (generation.load() == my_generation) {
            forward_by_natpmp(external);
        }
    }
}

void renew_port_forwarding() {
    std::lock_guard<std::mutex> lock(router_mutex);
    // A router that has meanwhile forgotten the forwarding makes it anew.
    // One that says no may have given the port to another computer, whose
    // forwarding closing ours would remove; a router out of reach for a
    // moment is asked again at the next renewal.
    bool refused = false;
    if (opened_by == Way::kUpnp) {
        refused = ask_for_lease(router) > 0;
    } else if (opened_by == Way::kNatPmp) {
        const int mapped = natpmp_forward(forwarded_port, kForwardingLeaseSeconds);
        refused = mapped >= 0 && mapped != forwarded_port;
    }
    if (refused) {
        forget_forwarding();
        set_forwarding(Forwarding::kRefused, "");
    }
}

void close_port_forwarding() {
    std::lock_guard<std::mutex> lock(router_mutex);
    ++generation;
    asked = false;
    set_forwarding(Forwarding::kNothingToSay, "");
    char port[8];
    std::snprintf(port, sizeof port, "%u", forwarded_port);
    if (opened_by == Way::kUpnp) {
        UPNP_DeletePortMapping(router.urls.controlURL, router.data.first.servicetype, port,
                               kProtocol, nullptr);
    } else if (opened_by == Way::kNatPmp) {
        natpmp_forward(forwarded_port, 0);
    }
    forget_forwarding();
}
