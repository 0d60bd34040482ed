#include "viewer/status.h"

namespace kv::viewer {

std::optional<std::string> Status::badge() const {
    if (!message.empty()) return message;
    const std::string text =
        (recording ? "REC" : "") + std::string(recording && clock ? "  " : "") + clock.value_or("");
    if (text.empty()) return std::nullopt;
    return text;
}

std::optional<bool> Status::on(Action action) const {
    if (action == Action::TogglePause) return paused;
    if (action == Action::ToggleRecording) return recording;
    if (action == Action::ToggleReadout) return readout;
    if (action == Action::ToggleLayer) return layer;
    if (action == Action::ToggleSound) return sound;
    if (action == Action::ToggleHelp) return help;
    if (action == Action::TogglePanel) return panel;
    return std::nullopt;
}

} // namespace kv::viewer
