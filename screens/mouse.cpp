#include "screens/input.h"
#include "screens/screen.h"

void mouse_handler(int, int, int, int) {}
void motion_handler(int, int) {}
