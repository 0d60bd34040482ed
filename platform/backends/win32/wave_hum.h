// korveline.exe's sound: the two hums through the system's wave output (waveOut, winmm.dll). No
// thread of its own: the screen feeds it from the message loop, and the window's timer keeps it
// fed while a move or a resize holds that loop. A few short buffers queued ahead: a Tick's change
// is heard within some 60 ms.
#pragma once

#include "backends/desktop/hum_synth.h"
#include "viewer/hum.h"

#include <windows.h>

#include <mmsystem.h>

#include <array>
#include <cstdint>
#include <string>

namespace kv::win32 {

class WaveHum {
  public:
    WaveHum() = default;
    ~WaveHum();
    WaveHum(const WaveHum&) = delete;
    WaveHum& operator=(const WaveHum&) = delete;

    // Opens the default wave output; false, saying why, when there is none.
    bool open(std::string& why);
    // What the next samples glide to.
    void play(const viewer::Tones& tones);
    // Queues the next samples in every buffer the device has finished with; returns how many.
    std::size_t feed();

    static constexpr unsigned kFeedEveryMs = 10;

  private:
    static constexpr int kRate = 48000;
    static constexpr std::size_t kSamples = 480; // 10 ms
    static constexpr std::size_t kBuffers = 6;
    struct Buffer {
        WAVEHDR header{};
        std::array<std::int16_t, kSamples> samples{};
        bool queued = false;
    };
    bool played(const Buffer& buffer) const;

    HWAVEOUT device_ = nullptr;
    std::array<Buffer, kBuffers> buffers_{}; // where the device reads: never moved
    std::size_t next_ = 0;                   // the buffer queued next: they play in turn
    desktop::HumSynth synth_{kRate};
    std::array<float, kSamples> rendered_{};
};

} // namespace kv::win32
