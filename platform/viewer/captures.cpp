#include "viewer/captures.h"

#include <exception>
#include <utility>

namespace kv::viewer {

namespace {

constexpr Text kSaved{"Enregistré : ", "Saved "}; // then where

} // namespace

template <class Capture> Told Captures::tell(const Capture& capture) const {
    try {
        const std::string where = capture();
        if (!where.empty()) return latin1(kSaved(program_.language)) + where;
    } catch (const std::exception& e) {
        return e.what();
    }
    return std::nullopt;
}

Told Captures::act(Action action) {
    if (action == Action::SavePicture) {
        if (fb_ == nullptr) return std::nullopt;
        return tell([&] { return screen_.save_picture(*fb_, program_.file_stem); });
    }
    if (action == Action::SaveData) {
        if (!program_.write_data) return std::nullopt;
        return tell([&] {
            const std::unique_ptr<image::Output> out =
                screen_.new_capture(program_.file_stem, "csv");
            program_.write_data(*out);
            return out->keep();
        });
    }
    if (recording_) return tell([writer = std::move(recording_)] { return writer->finish(); });
    return start_recording();
}

Told Captures::start_recording() {
    if (fb_ == nullptr) return std::nullopt;
    try {
        recording_ = std::make_unique<image::GifWriter>(
            screen_.new_capture(program_.file_stem, "gif"),
            program_.recording_comment ? program_.recording_comment() : "");
        // The picture as it is now, then one frame after every Tick.
        recording_->add_frame(*fb_, frame_delay_cs());
    } catch (const std::exception& e) {
        recording_.reset();
        return e.what();
    }
    return std::nullopt;
}

Told Captures::tick_done() {
    if (!recording_ || fb_ == nullptr) return std::nullopt;
    try {
        recording_->add_frame(*fb_, frame_delay_cs());
    } catch (const std::exception& e) {
        recording_.reset();
        return e.what();
    }
    return std::nullopt;
}

} // namespace kv::viewer
