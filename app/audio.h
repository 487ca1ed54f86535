// The seed sound and the looping music, alive for the whole run.
#pragma once

#include <SFML/Audio.hpp>

extern sf::SoundBuffer blip_buffer;
extern sf::Sound blip_sound;
extern sf::Music music;

// Loads both files and starts the music; false when either cannot be loaded.
bool start_audio();
