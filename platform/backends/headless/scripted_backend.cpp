#include "backends/headless/scripted_backend.h"

#include "image/gif_writer.h"
#include "image/png_writer.h"
#include "backends/headless/run_error.h"

#include <cerrno>
#include <string_view>
#include <system_error>
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

std::string errno_text(int error) {
    return std::generic_category().message(error);
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

ScriptedBackend::ScriptedBackend(std::vector<Command> script, ScriptOutput output, TickHooks hooks)
    : script_(std::move(script)), output_(std::move(output)), hooks_(std::move(hooks)) {}

ScriptedBackend::~ScriptedBackend() {
    // A run stopped by an error: what was written stays, unchecked (the error is already told).
    if (trace_) std::fclose(trace_->file);
}

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
    if (tick_pending_) after_tick();
    while (next_ < script_.size()) {
        if (play(script_[next_], out)) return;
    }
    stop_trace();
    if (close_sent_) throw RunError("the program did not exit after WM_CLOSE");
    InputEvent close;
    close.kind = InputEvent::Kind::Close;
    out.push_back(close);
    close_sent_ = true;
}

bool ScriptedBackend::play(const Command& command, std::vector<InputEvent>& out) {
    using Kind = Command::Kind;
    if (command.kind == Kind::Tick || command.kind == Kind::Record) return play_ticks(command);

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
            image::write_png(presented_ != nullptr ? *presented_ : Framebuffer{}, command.path);
        } catch (const image::FileError& error) {
            throw RunError(error.what(), command.line);
        }
        return false;
    case Kind::Pixel:
        print_pixel(command);
        return false;
    case Kind::State:
        print_state(command);
        return false;
    case Kind::Trace:
        start_trace(command);
        return false;
    case Kind::TraceOff:
        stop_trace();
        return false;
    case Kind::Lab:
        set_lab(command);
        return false;
    case Kind::Close:
        stop_trace();
        e.kind = InputEvent::Kind::Close;
        out.push_back(e);
        close_sent_ = true;
        return true;
    case Kind::Tick:
    case Kind::Record:
        break;
    }
    return false;
}

bool ScriptedBackend::play_ticks(const Command& command) {
    if (ticks_done_ == 0 && command.count > 0 && hooks_.progress) hooks_.progress(0, command.count);
    if (ticks_done_ == command.count) {
        if (recording_) {
            try {
                recording_->finish();
            } catch (const image::FileError& error) {
                recording_.reset();
                throw RunError(error.what(), command.line);
            }
            recording_.reset();
        }
        ticks_done_ = 0;
        ++next_;
        return false;
    }
    if (command.kind == Command::Kind::Record && !recording_) {
        try {
            recording_ = std::make_unique<image::GifWriter>(
                command.path, hooks_.recording_comment ? hooks_.recording_comment() : "");
        } catch (const image::FileError& error) {
            throw RunError(error.what(), command.line);
        }
    }
    if (trace_ && hooks_.tick_starting) hooks_.tick_starting();
    ++ticks_done_;
    now_ms_ += kTickMs;
    tick_pending_ = true;
    return true;
}

void ScriptedBackend::after_tick() {
    tick_pending_ = false;
    const Command& command = script_[next_];
    if (trace_) {
        const std::string row = hooks_.trace_row(trace_->french) + '\n';
        if (std::fputs(row.c_str(), trace_->file) == EOF) {
            const int error = errno;
            const int line = trace_->line;
            const std::string path = trace_->path;
            std::fclose(trace_->file);
            trace_.reset();
            throw RunError("cannot write CSV '" + shown_path(path) + "': " + errno_text(error),
                           line);
        }
    }
    if (recording_ && (ticks_done_ % command.every == 0 || ticks_done_ == command.count)) {
        const auto delay_cs = static_cast<int>(kTickMs / 10 * command.every);
        try {
            recording_->add_frame(presented_ != nullptr ? *presented_ : Framebuffer{}, delay_cs);
        } catch (const image::FileError& error) {
            recording_.reset();
            throw RunError(error.what(), command.line);
        }
    }
    if (hooks_.progress) hooks_.progress(ticks_done_, command.count);
}

void ScriptedBackend::start_trace(const Command& command) {
    stop_trace();
    if (!hooks_.trace_row) throw RunError("'trace' has no rows to write", command.line);
    std::FILE* file = std::fopen(command.path.c_str(), "w");
    if (file == nullptr) {
        throw RunError("cannot write CSV '" + shown_path(command.path) + "': " + errno_text(errno),
                       command.line);
    }
    trace_ = Trace{file, command.path, command.line, command.french_csv};
    const std::string header =
        (hooks_.trace_header ? hooks_.trace_header(command.french_csv) : "") + '\n';
    if (std::fputs(header.c_str(), file) == EOF) {
        const int error = errno;
        std::fclose(file);
        trace_.reset();
        throw RunError("cannot write CSV '" + shown_path(command.path) + "': " + errno_text(error),
                       command.line);
    }
}

// Closing is where a full disk shows: the buffered rows reach the file only now.
void ScriptedBackend::stop_trace() {
    if (!trace_) return;
    const Trace trace = *trace_;
    trace_.reset();
    const bool failed = std::ferror(trace.file) != 0;
    if (std::fclose(trace.file) != 0) {
        throw RunError("cannot write CSV '" + shown_path(trace.path) + "': " + errno_text(errno),
                       trace.line);
    }
    if (failed) {
        throw RunError("cannot write CSV '" + shown_path(trace.path) + "': a write failed",
                       trace.line);
    }
}

void ScriptedBackend::set_lab(const Command& command) {
    if (!hooks_.lab) throw RunError("'lab' has nothing to set", command.line);
    if (const std::string error = hooks_.lab(command.settings); !error.empty())
        throw RunError("lab: " + error, command.line);
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
