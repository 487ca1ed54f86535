// The animated texts shown while a network game is being set up.
#pragma once

void caret_timer(int);
void connecting_dots_timer(int);
void waiting_dots_timer(int);
