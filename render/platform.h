// What the drawing asks of the desktop beyond OpenGL; app/platform.cpp
// provides it.
#pragma once

// Installs the pointing hand over the window, so that the pointer looks like
// the hand that carries the seeds.
void show_hand_pointer();
