#include "net/status_text.h"

#include "app/platform.h"
#include "net/link.h"

void caret_timer(int) {
    arm_timer(500, caret_timer);
}
void connecting_dots_timer(int) {
    arm_timer(500, connecting_dots_timer);
}
void waiting_dots_timer(int) {
    arm_timer(500, waiting_dots_timer);
}
