// The desktop's sound: an SDL audio device playing the two hums. SDL calls its callback on a
// thread of its own; the tones reach it through atomics, set from the main thread.
#pragma once

#include "backends/desktop/hum_synth.h"
#include "viewer/hum.h"

#include <SDL_audio.h>

#include <atomic>
#include <memory>
#include <string>

namespace kv::sdl {

class HumAudio {
  public:
    // Opens the default output device (SDL_AUDIODRIVER may name the driver); false, saying why,
    // when there is none.
    bool open(std::string& why);
    void play(const viewer::Tones& tones);
    ~HumAudio();

  private:
    static void fill(void* self, Uint8* stream, int length);

    SDL_AudioDeviceID device_ = 0;
    bool subsystem_ = false;
    std::unique_ptr<desktop::HumSynth> synth_; // the callback's alone while the device is open
    std::atomic<double> first_hz_{0};
    std::atomic<double> second_hz_{0};
    std::atomic<double> gain_{0};
};

} // namespace kv::sdl
