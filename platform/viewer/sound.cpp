#include "viewer/sound.h"

namespace kv::viewer {

namespace {

constexpr Text kNoSound{"Pas de son : ", "No sound: "}; // then why

} // namespace

std::optional<std::string> Sound::toggle(bool paused) {
    std::string why;
    if (on_) {
        on_ = false;
        screen_.sound(std::nullopt, why);
        return std::nullopt;
    }
    playing_ = tones(paused);
    if (!screen_.sound(playing_, why)) return latin1(kNoSound(program_.language)) + why;
    on_ = true;
    return std::nullopt;
}

void Sound::follow(bool paused) {
    if (!on_) return;
    const Tones now = tones(paused);
    if (now == playing_) return;
    playing_ = now;
    std::string why;
    screen_.sound(playing_, why);
}

Tones Sound::tones(bool paused) const {
    return tones_for(program_.hum ? program_.hum() : std::nullopt, paused);
}

} // namespace kv::viewer
