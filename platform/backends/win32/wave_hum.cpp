#include "backends/win32/wave_hum.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace kv::win32 {

namespace {

std::string wave_error(MMRESULT result) {
    wchar_t text[MAXERRORLENGTH] = L"";
    if (waveOutGetErrorTextW(result, text, MAXERRORLENGTH) != MMSYSERR_NOERROR || text[0] == 0)
        return "no wave output (error " + std::to_string(result) + ")";
    std::string ascii;
    for (const wchar_t* c = text; *c != 0; ++c)
        ascii += *c < 0x80 ? static_cast<char>(*c) : '?';
    return ascii;
}

} // namespace

bool WaveHum::open(std::string& why) {
    if (device_ != nullptr) return true;
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = kRate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 2;
    format.nAvgBytesPerSec = kRate * 2;
    const MMRESULT result = waveOutOpen(&device_, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL);
    if (result != MMSYSERR_NOERROR) {
        device_ = nullptr;
        why = wave_error(result);
        return false;
    }
    for (Buffer& buffer : buffers_) {
        buffer.header.lpData = reinterpret_cast<LPSTR>(buffer.samples.data());
        buffer.header.dwBufferLength = static_cast<DWORD>(sizeof buffer.samples);
        waveOutPrepareHeader(device_, &buffer.header, sizeof buffer.header);
    }
    return true;
}

WaveHum::~WaveHum() {
    if (device_ == nullptr) return;
    // Faded out before the device goes: a sound cut off mid-wave clicks. What is queued plays
    // out, then the glide to silence.
    synth_.set({});
    std::size_t faded = 0; // buffers queued since
    for (int waited = 0; waited < 300; waited += 5) {
        if (faded < kBuffers) {
            faded += feed();
        } else if (std::all_of(buffers_.begin(), buffers_.end(),
                               [this](const Buffer& b) { return !b.queued || played(b); })) {
            break;
        }
        Sleep(5);
    }
    waveOutReset(device_);
    for (Buffer& buffer : buffers_)
        waveOutUnprepareHeader(device_, &buffer.header, sizeof buffer.header);
    waveOutClose(device_);
}

void WaveHum::play(const viewer::Tones& tones) {
    synth_.set(tones);
    feed();
}

bool WaveHum::played(const Buffer& buffer) const {
    return (buffer.header.dwFlags & WHDR_DONE) != 0;
}

std::size_t WaveHum::feed() {
    if (device_ == nullptr) return 0;
    std::size_t queued = 0;
    for (; queued < kBuffers; ++queued) {
        Buffer& buffer = buffers_[next_];
        if (buffer.queued && !played(buffer)) break;
        synth_.render(std::span<float>(rendered_));
        std::transform(rendered_.begin(), rendered_.end(), buffer.samples.begin(), [](float s) {
            return static_cast<std::int16_t>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f));
        });
        buffer.queued =
            waveOutWrite(device_, &buffer.header, sizeof buffer.header) == MMSYSERR_NOERROR;
        next_ = (next_ + 1) % kBuffers;
    }
    return queued;
}

} // namespace kv::win32
