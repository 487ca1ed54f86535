#include "app/audio.h"

sf::SoundBuffer blip_buffer;
sf::Sound blip_sound;
sf::Music music;

namespace {

constexpr float kSeedSoundVolume = 25.f;
constexpr float kMusicVolume = 100.f;

}  // namespace

bool start_audio() {
    if (!blip_buffer.loadFromFile("Sounds/Blip_Select1.wav")) {
        return false;
    }
    blip_sound.setBuffer(blip_buffer);
    blip_sound.setVolume(kSeedSoundVolume);
    if (!music.openFromFile("music/snowfall_final.ogg")) {
        return false;
    }
    music.setLoop(true);
    music.setVolume(kMusicVolume);
    music.play();
    return true;
}
