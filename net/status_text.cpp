#include "net/status_text.h"

#include <cstdio>

#include "net/link.h"
#include "rules/platform.h"

namespace {

// The base text and no dot to four dots, one more every tick.
void grow_dots(char* text, std::size_t capacity, const char* base) {
    static const char* const kDots[] = {"", ".", "..", "...", "...."};
    const int phase = net_link.text_anim_phase;
    std::snprintf(text, capacity, "%s%s", base, kDots[phase]);
    net_link.text_anim_phase = phase == 4 ? 0 : phase + 1;
}

}  // namespace

void caret_timer(int) {
    if (net_link.phase == LinkPhase::kTypingAddress) {
        const bool caret = net_link.text_anim_phase != 0;
        std::snprintf(net_link.address_prompt_text, sizeof net_link.address_prompt_text, "%s%s%s",
                      "Enter IP Address: ", net_link.peer_address, caret ? "_" : "");
        net_link.text_anim_phase = caret ? 0 : 1;
    }
    arm_timer(500, caret_timer);
}

void connecting_dots_timer(int) {
    if (net_link.phase == LinkPhase::kConnecting) {
        grow_dots(net_link.connecting_text, sizeof net_link.connecting_text,
                  "connecting please wait");
    }
    arm_timer(500, connecting_dots_timer);
}

void waiting_dots_timer(int) {
    if (net_link.phase == LinkPhase::kHostWaiting) {
        grow_dots(net_link.waiting_text, sizeof net_link.waiting_text, "Waiting for connection");
    }
    arm_timer(500, waiting_dots_timer);
}
