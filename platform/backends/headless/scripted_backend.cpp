#include "backends/headless/scripted_backend.h"

#include "image/file_error.h"
#include "image/gif_writer.h"
#include "image/png_writer.h"
#include "core/run_error.h"

#include <algorithm>
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

// Runs `write`; a file that cannot be written stops the run at `line`.
template <class Write> void at_line(int line, const Write& write) {
    try {
        write();
    } catch (const image::FileError& error) {
        throw RunError(error.what(), line);
    }
}

} // namespace

ScriptedBackend::ScriptedBackend(std::vector<Command> script, ScriptOutput output, TickHooks hooks)
    : script_(std::move(script)), output_(std::move(output)), hooks_(std::move(hooks)) {}

// A run stopped by an error: what the trace wrote stays, unchecked (the error is already told).
ScriptedBackend::~ScriptedBackend() = default;

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

void ScriptedBackend::wait(std::optional<std::uint64_t> deadline_ms, std::vector<InputEvent>& out) {
    // The application keeps its own timer, so the deadline always lies one period away; the
    // script, not the deadline, decides whether time passes.
    if (tick_pending_) after_tick();
    while (next_ < script_.size()) {
        if (play(script_[next_], deadline_ms, out)) return;
    }
    stop_trace();
    if (close_sent_) throw RunError("the program did not exit after WM_CLOSE");
    out.push_back({.kind = InputEvent::Kind::Close});
    close_sent_ = true;
}

bool ScriptedBackend::play(const Command& command, std::optional<std::uint64_t> deadline_ms,
                           std::vector<InputEvent>& out) {
    using Kind = Command::Kind;
    if (command.kind == Kind::Tick || command.kind == Kind::Record)
        return play_ticks(command, deadline_ms);

    ++next_;
    switch (command.kind) {
    case Kind::Click:
        for (const auto kind : {InputEvent::Kind::MouseMove, InputEvent::Kind::ButtonDown,
                                InputEvent::Kind::ButtonUp})
            out.push_back({kind, command.button, command.x, command.y});
        return true;
    case Kind::Expose: {
        const Rect rect{command.x, command.y, command.x + command.width,
                        command.y + command.height};
        // An empty rectangle would mean the whole client area: a zero-size expose asks for
        // nothing.
        if (!command.whole_area && rect.empty()) return false;
        out.push_back(
            {.kind = InputEvent::Kind::Expose, .rect = command.whole_area ? Rect{} : rect});
        return true;
    }
    case Kind::Resize:
        out.push_back({.kind = InputEvent::Kind::Resize,
                       .width = static_cast<int>(command.width),
                       .height = static_cast<int>(command.height)});
        return true;
    case Kind::Snapshot:
        at_line(command.line, [&] {
            image::write_png(presented_ != nullptr ? *presented_ : Framebuffer{}, command.path);
        });
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
        out.push_back({.kind = InputEvent::Kind::Close});
        close_sent_ = true;
        return true;
    case Kind::Tick:
    case Kind::Record:
        break;
    }
    return false;
}

bool ScriptedBackend::play_ticks(const Command& command, std::optional<std::uint64_t> deadline_ms) {
    if (ticks_done_ == 0 && command.count > 0 && output_.progress)
        output_.progress(0, command.count);
    if (ticks_done_ == command.count) {
        if (recording_) {
            at_line(command.line,
                    [&] { std::unique_ptr<image::GifWriter>(std::move(recording_))->finish(); });
        }
        ticks_done_ = 0;
        ++next_;
        return false;
    }
    if (command.kind == Command::Kind::Record && !recording_)
        at_line(command.line, [&] {
            recording_ = std::make_unique<image::GifWriter>(
                command.path, output_.recording_comment ? output_.recording_comment() : "");
        });
    ++ticks_done_;
    if (deadline_ms) now_ms_ = std::max(now_ms_, *deadline_ms);
    tick_pending_ = true;
    return true;
}

void ScriptedBackend::timer_delivered(std::uint64_t /*now_ms*/, std::uint64_t period_ms) {
    period_ms_ = period_ms;
    if (hooks_.starting) hooks_.starting();
}

void ScriptedBackend::after_tick() {
    tick_pending_ = false;
    const Command& command = script_[next_];
    if (hooks_.done) hooks_.done();
    if (trace_) {
        at_line(trace_->line,
                [&] { trace_->file->write(output_.trace_row(trace_->french) + '\n'); });
    }
    if (recording_ && (ticks_done_ % command.every == 0 || ticks_done_ == command.count)) {
        const auto delay_cs = static_cast<int>((period_ms_ * command.every + 5) / 10);
        at_line(command.line, [&] {
            recording_->add_frame(presented_ != nullptr ? *presented_ : Framebuffer{}, delay_cs);
        });
    }
    if (output_.progress) output_.progress(ticks_done_, command.count);
}

void ScriptedBackend::start_trace(const Command& command) {
    stop_trace();
    if (!output_.trace_row) throw RunError("'trace' has no rows to write", command.line);
    at_line(command.line, [&] {
        auto file = std::make_unique<image::OutputFile>(command.path, "CSV", false);
        file->write((output_.trace_header ? output_.trace_header(command.french_csv) : "") + '\n');
        trace_ = Trace{std::move(file), command.line, command.french_csv};
    });
}

// Closing is where a full disk shows: the buffered rows reach the file only now.
void ScriptedBackend::stop_trace() {
    if (!trace_) return;
    const Trace trace = std::move(*trace_);
    trace_.reset();
    at_line(trace.line, [&] { trace.file->keep(); });
}

void ScriptedBackend::set_lab(const Command& command) {
    if (!output_.lab) throw RunError("'lab' has nothing to set", command.line);
    if (const std::string error = output_.lab(command.settings); !error.empty())
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
