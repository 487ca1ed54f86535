// Draws the whole window for whichever screen shows.
#pragma once

void display_frame();
