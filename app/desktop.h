// How the desktop's docks, task bars and window rules know the window.
#pragma once

struct EmbeddedFile {
    const unsigned char* bytes;
    unsigned long size;
};

// The PNG icons, one for each size they are installed in (made at build time).
extern const EmbeddedFile kIconFiles[];
extern const int kIconFileCount;

// Gives the window its class (instance "sowrow", class "Sowrow", as the
// desktop entry's StartupWMClass says) and its icons at every size.
void introduce_window();
