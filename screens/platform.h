// What the screens ask of the desktop; app/platform.cpp provides it for
// real, tests/fake_platform.cpp records it.
#pragma once

// Ends the process at once. The recording fake returns, so callers must
// return straight after calling it.
void exit_program(int status);
