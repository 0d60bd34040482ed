#include "backends/sdl/hum_audio.h"

#include <SDL.h>

#include <span>

namespace kv::sdl {

namespace {
// Two device buffers and the synth's glide to silence.
constexpr Uint32 kFadeMs = 60;
} // namespace

bool HumAudio::open(std::string& why) {
    if (device_ != 0) return true;
    if (!subsystem_) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            why = SDL_GetError();
            return false;
        }
        subsystem_ = true;
    }
    SDL_AudioSpec want{};
    want.freq = 48000;
    want.format = AUDIO_F32SYS;
    want.channels = 1;
    want.samples = 1024; // about 20 ms: a Tick's change is heard within one
    want.callback = &HumAudio::fill;
    want.userdata = this;
    SDL_AudioSpec have{};
    // Whatever rate the device takes; the format and channels as asked (SDL converts).
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (device_ == 0) {
        why = SDL_GetError();
        if (why.empty()) why = "no audio device";
        return false;
    }
    synth_ = std::make_unique<desktop::HumSynth>(have.freq);
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

// Each value alone is atomic; a callback that saw one new and one old value is heard for 20 ms
// at most, and the glide smooths it.
void HumAudio::play(const viewer::Tones& tones) {
    first_hz_ = tones.first_hz;
    second_hz_ = tones.second_hz;
    gain_ = tones.gain;
}

HumAudio::~HumAudio() {
    if (device_ != 0) {
        // Faded out before the device goes: a sound cut off mid-wave clicks.
        if (gain_ > 0) {
            gain_ = 0;
            SDL_Delay(kFadeMs);
        }
        SDL_CloseAudioDevice(device_);
    }
    if (subsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void HumAudio::fill(void* self, Uint8* stream, int length) {
    auto& audio = *static_cast<HumAudio*>(self);
    audio.synth_->set({audio.first_hz_, audio.second_hz_, audio.gain_});
    // AUDIO_F32SYS: the bytes are floats, aligned as SDL allocates them.
    audio.synth_->render(std::span<float>(reinterpret_cast<float*>(stream),
                                          static_cast<std::size_t>(length) / sizeof(float)));
}

} // namespace kv::sdl
