#include "net/host_address.h"

namespace {

// What container and virtual machine managers name the bridges and links
// they create; an opponent elsewhere on the network cannot reach the host
// through them.
constexpr const char* kVirtualInterfacePrefixes[] = {"docker",  "br-",    "veth",  "virbr",
                                                     "vnet",    "lxcbr",  "lxdbr", "vmnet",
                                                     "vboxnet", "podman", "cni"};

bool is_virtual(const std::string& name) {
    for (const char* prefix : kVirtualInterfacePrefixes) {
        if (name.rfind(prefix, 0) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string choose_host_address(const std::vector<InterfaceAddress>& interfaces,
                                const std::string& default_route_interface) {
    const InterfaceAddress* first_physical = nullptr;
    const InterfaceAddress* first_virtual = nullptr;
    for (const InterfaceAddress& entry : interfaces) {
        if (!entry.up || entry.loopback) {
            continue;
        }
        if (entry.name == default_route_interface) {
            return entry.address;
        }
        const InterfaceAddress*& first = is_virtual(entry.name) ? first_virtual : first_physical;
        if (first == nullptr) {
            first = &entry;
        }
    }
    if (first_physical != nullptr) {
        return first_physical->address;
    }
    return first_virtual != nullptr ? first_virtual->address : "0.0.0.0";
}
