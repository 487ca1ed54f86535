#include "screens/input.h"
#include "screens/screen.h"

void key_handler(unsigned char, int, int) {}
void special_key_handler(int, int, int) {}
