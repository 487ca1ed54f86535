#include "app/audio.h"

#include <AL/alc.h>
#include <AL/alext.h>
#include <dlfcn.h>

#include <SFML/Audio.hpp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "rules/platform.h"

namespace {

constexpr char kSoundFile[] = "Sounds/Blip_Select1.wav";
constexpr char kMusicFile[] = "music/snowfall_final.ogg";
constexpr float kSeedSoundVolume = 25.f;
constexpr float kMusicVolume = 100.f;
constexpr unsigned kDeviceCheckMilliseconds = 1000;

// SFML opens the audio device when its first sound object is built, and
// without a device every object reports each call it makes. So the objects
// are built only once a device is known to be there.
struct Audio {
    sf::SoundBuffer blip_buffer;
    sf::Sound blip_sound;
    sf::Music music;
};

Audio& audio() {
    static Audio objects;
    return objects;
}

bool sound_plays = false;

void ignore_alsa_error(const char*, int, const char*, int, const char*, ...) {}

// OpenAL tells of each backend it tried and failed, and ALSA, which it loads,
// of each step of a sound card it did not find; the game says it once. Whoever
// asks OpenAL for its log gets both.
void quiet_audio_libraries() {
    if (std::getenv("ALSOFT_LOGLEVEL") != nullptr) {
        return;
    }
    setenv("ALSOFT_LOGLEVEL", "0", 0);
    // Loaded here, the library is the one OpenAL loads after, and stays.
    if (void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_GLOBAL)) {
        using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
        using SetErrorHandler = int (*)(ErrorHandler);
        if (auto set =
                reinterpret_cast<SetErrorHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) {
            set(ignore_alsa_error);
        }
    }
}

bool audio_device_present() {
    quiet_audio_libraries();
    ALCdevice* device = alcOpenDevice(nullptr);
    if (device == nullptr) {
        return false;
    }
    alcCloseDevice(device);
    return true;
}

// Without a device the files are read all the same, so a missing or broken
// one is found on every machine alike.
bool sound_files_readable() {
    sf::InputSoundFile sound;
    if (!sound.openFromFile(kSoundFile)) {
        return false;
    }
    std::vector<sf::Int16> samples(static_cast<std::size_t>(sound.getSampleCount()));
    if (sound.read(samples.data(), samples.size()) != samples.size()) {
        return false;
    }
    sf::InputSoundFile music;
    return music.openFromFile(kMusicFile);
}

bool load_and_play() {
    Audio& objects = audio();
    if (!objects.blip_buffer.loadFromFile(kSoundFile)) {
        return false;
    }
    objects.blip_sound.setBuffer(objects.blip_buffer);
    objects.blip_sound.setVolume(kSeedSoundVolume);
    if (!objects.music.openFromFile(kMusicFile)) {
        return false;
    }
    objects.music.setLoop(true);
    objects.music.setVolume(kMusicVolume);
    objects.music.play();
    return true;
}

bool device_connected() {
    ALCcontext* context = alcGetCurrentContext();
    ALCdevice* device = context != nullptr ? alcGetContextsDevice(context) : nullptr;
    if (device == nullptr) {
        return false;
    }
    if (alcIsExtensionPresent(device, "ALC_EXT_disconnect") == ALC_FALSE) {
        return true;  // it cannot tell, so it is taken to stay
    }
    ALCint connected = ALC_TRUE;
    alcGetIntegerv(device, ALC_CONNECTED, 1, &connected);
    return connected != ALC_FALSE;
}

}  // namespace

bool start_audio() {
    if (audio_device_present()) {
        sound_plays = load_and_play();
        return sound_plays;
    }
    if (!sound_files_readable()) {
        return false;
    }
    std::fputs("No audio device could be opened: Sowrow plays without sound.\n", stderr);
    return true;
}

void play_seed_click() {
    if (sound_plays) {
        audio().blip_sound.play();
    }
}

void audio_device_timer(int) {
    if (sound_plays && !device_connected()) {
        sound_plays = false;
        audio().blip_sound.stop();
        audio().music.stop();
        std::fputs("The audio device went away: Sowrow plays on without sound.\n", stderr);
    }
    arm_timer(kDeviceCheckMilliseconds, audio_device_timer);
}
