// The seed sound and the looping music, alive for the whole run, and how the
// game goes on without them on a machine with no audio device.
#pragma once

// Loads the seed sound and the music and starts the music; false when either
// file cannot be loaded. With no audio device to open, both files are still
// read, one line on standard error says the game plays without sound, and
// it does.
bool start_audio();

// Plays the seed sound, when there is a device to play it on.
void play_seed_click();

// Every second: a device that goes away (a sound server stopped, a headset
// unplugged) ends the music, whose stream would otherwise spin a core
// restarting itself on it, and the game plays on without sound.
void audio_device_timer(int);
