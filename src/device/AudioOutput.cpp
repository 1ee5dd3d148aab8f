#include "AudioOutput.h"

#include "AudioDeviceError.h"

#include <SDL.h>

namespace {

constexpr int kPreferredRate = 48000;
constexpr int kOtherRate = 44100;
// 1024 frames are 21 ms at 48 kHz: short enough that a sound starts soon after it is asked
// for, long enough that a busy desktop does not starve the device.
constexpr Uint16 kDeviceFrames = 1024;

void Pull(void* mixer, Uint8* stream, int bytes) {
    static_cast<Mixer*>(mixer)->Render(reinterpret_cast<float*>(stream),
                                       size_t(bytes) / (2 * sizeof(float)));
}

} // namespace

AudioOutput::~AudioOutput() {
    if (device_ == 0) return;
    SDL_CloseAudioDevice(device_); // waits for the audio thread: the mixer outlives it
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void AudioOutput::Open() {
    if (device_ != 0) return;
    // SDL's audio brings up its event loop, which would turn Ctrl+C and SIGTERM into a quit
    // event nobody reads here: the program would no longer end when asked to.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) throw EAudioDevice(SDL_GetError());
    SDL_AudioSpec wanted{};
    wanted.freq = kPreferredRate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 2;
    wanted.samples = kDeviceFrames;
    wanted.callback = Pull;
    wanted.userdata = &mixer_;
    SDL_AudioSpec got{};
    // The device's own rate when it is one the engine renders at, so nothing converts twice;
    // otherwise SDL converts from 48 kHz.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &got, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (device_ != 0 && got.freq != kPreferredRate && got.freq != kOtherRate) {
        SDL_CloseAudioDevice(device_);
        device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &got, 0);
    }
    if (device_ == 0) {
        const std::string error = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        throw EAudioDevice(error);
    }
    rate_ = got.freq;
    SDL_PauseAudioDevice(device_, 0);
}

std::string AudioOutput::DriverName() const {
    const char* name = SDL_GetCurrentAudioDriver();
    return name ? name : "";
}
