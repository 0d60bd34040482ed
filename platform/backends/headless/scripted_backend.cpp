#include "backends/headless/scripted_backend.h"

#include "backends/headless/png_writer.h"
#include "backends/headless/run_error.h"

#include <string_view>
#include <utility>

namespace kv::headless {

namespace {

std::string hex_rgb(Color c) {
    constexpr std::string_view digits = "0123456789ABCDEF";
    std::string text;
    for (const std::uint8_t channel : {red_of(c), green_of(c), blue_of(c)}) {
        text += digits[channel >> 4];
        text += digits[channel & 0x0F];
    }
    return text;
}

InputEvent mouse_event(InputEvent::Kind kind, const Command& click) {
    InputEvent e;
    e.kind = kind;
    e.button = click.button;
    e.x = click.x;
    e.y = click.y;
    return e;
}

} // namespace

ScriptedBackend::ScriptedBackend(std::vector<Command> script, ScriptOutput output)
    : script_(std::move(script)), output_(std::move(output)) {}

void ScriptedBackend::set_window_creation_failure(std::string why) {
    creation_failure_ = std::move(why);
}

bool ScriptedBackend::open_window(const std::string& title, int client_width, int client_height,
                                  std::string& why) {
    if (creation_failure_) {
        why = *creation_failure_;
        return false;
    }
    title_ = title;
    width_ = client_width;
    height_ = client_height;
    open_ = true;
    return true;
}

void ScriptedBackend::close_window() {
    open_ = false;
}

void ScriptedBackend::poll(std::vector<InputEvent>&) {}

void ScriptedBackend::wait(std::optional<std::uint64_t>, std::vector<InputEvent>& out) {
    // The application keeps its own timer, so the deadline always lies one tick away; the
    // script, not the deadline, decides whether time passes.
    while (next_ < script_.size()) {
        if (play(script_[next_], out)) return;
    }
    if (close_sent_) throw RunError("the program did not exit after WM_CLOSE");
    InputEvent close;
    close.kind = InputEvent::Kind::Close;
    out.push_back(close);
    close_sent_ = true;
}

bool ScriptedBackend::play(const Command& command, std::vector<InputEvent>& out) {
    using Kind = Command::Kind;
    if (command.kind == Kind::Tick) {
        if (ticks_done_ == command.count) {
            ticks_done_ = 0;
            ++next_;
            return false;
        }
        ++ticks_done_;
        now_ms_ += kTickMs;
        return true;
    }

    ++next_;
    InputEvent e;
    switch (command.kind) {
    case Kind::Click:
        out.push_back(mouse_event(InputEvent::Kind::MouseMove, command));
        out.push_back(mouse_event(InputEvent::Kind::ButtonDown, command));
        out.push_back(mouse_event(InputEvent::Kind::ButtonUp, command));
        return true;
    case Kind::Expose:
        e.kind = InputEvent::Kind::Expose;
        if (!command.whole_area) {
            e.rect =
                Rect{command.x, command.y, command.x + command.width, command.y + command.height};
            // An empty rectangle would mean the whole client area: a zero-size expose asks
            // for nothing.
            if (e.rect.empty()) return false;
        }
        out.push_back(e);
        return true;
    case Kind::Resize:
        e.kind = InputEvent::Kind::Resize;
        e.width = static_cast<int>(command.width);
        e.height = static_cast<int>(command.height);
        out.push_back(e);
        return true;
    case Kind::Snapshot:
        try {
            write_png(presented_ != nullptr ? *presented_ : Framebuffer{}, command.path);
        } catch (const RunError& error) {
            throw RunError(error.what(), command.line);
        }
        return false;
    case Kind::Pixel:
        print_pixel(command);
        return false;
    case Kind::State:
        print_state(command);
        return false;
    case Kind::Close:
        e.kind = InputEvent::Kind::Close;
        out.push_back(e);
        close_sent_ = true;
        return true;
    case Kind::Tick:
        break;
    }
    return false;
}

void ScriptedBackend::print_pixel(const Command& command) {
    if (output_.out == nullptr) return;
    const bool inside =
        presented_ != nullptr && presented_->bounds().contains(command.x, command.y);
    *output_.out << "pixel " << command.x << ' ' << command.y << ' '
                 << (inside ? hex_rgb(presented_->get(command.x, command.y)) : "invalid") << '\n';
}

void ScriptedBackend::print_state(const Command& command) {
    if (!output_.state) throw RunError("'state' has no state to print", command.line);
    const std::string line = output_.state();
    if (output_.out != nullptr) *output_.out << line << '\n';
}

void ScriptedBackend::present(const Framebuffer& fb, const Region&) {
    presented_ = &fb;
}

void ScriptedBackend::message_box(const std::string& caption, const std::string& text, unsigned) {
    if (output_.err != nullptr) *output_.err << caption << ": " << text << '\n';
}

} // namespace kv::headless
