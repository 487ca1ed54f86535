// What the screens ask of the desktop; app/platform.cpp provides it for
// real, tests/fake_platform.cpp records it.
#pragma once

// Ends the process at once, first removing the router's forwarding of the
// game's port, if any. The recording fake returns, so callers must return
// straight after calling it.
void exit_program(int status);
