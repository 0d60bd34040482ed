#include "backends/win32/win32_screen.h"

#include "backends/desktop/capture_names.h"
#include "backends/desktop/mouse_buttons.h"
#include "backends/win32/wave_hum.h"
#include "backends/win32/wide_text.h"
#include "backends/win32/window.h"
#include "backends/win32/windows_services.h"
#include "image/png_writer.h"

#include <windows.h>

#include <mmsystem.h>

#include <algorithm>
#include <ctime>
#include <utility>

namespace kv::win32 {

class Win32Screen::Events final : public WindowEvents {
  public:
    explicit Events(Win32Screen& screen) : screen_(screen) {}
    void input(const InputEvent& event) override { screen_.input_.push_back(event); }
    void button(InputEvent::Kind kind, InputEvent::Button button, std::int64_t x,
                std::int64_t y) override {
        if (screen_.window_)
            desktop::mouse_button(screen_.window_->presenter(), screen_, kind, button, x, y,
                                  screen_.input_);
    }
    void key(const KeyDown& key) override {
        const std::string name = key_name(key);
        const viewer::KeyPress press = key_press(key, name);
        // While the program's panel shows, the arrows, + - and Escape are its own.
        if (screen_.panel_key(press)) return;
        if (const std::optional<viewer::Action> action = screen_.action_for_key(press))
            screen_.act(*action);
    }
    void timer() override {
        if (screen_.sound_) screen_.sound_->feed();
    }

  private:
    Win32Screen& screen_;
};

Win32Screen::Win32Screen() : events_(std::make_unique<Events>(*this)) {
    // Pixels are the screen's own: on a screen of 150 % the window starts at zoom 2, crisp,
    // rather than stretched and blurred by the system.
    SetProcessDPIAware();
}

Win32Screen::~Win32Screen() {
    sound_.reset();
    close_window();
}

bool Win32Screen::open_window(const std::string& title, int client_width, int client_height,
                              std::string& why) {
    window_ = Window::open(latin1_to_wide(title), viewer::Size{client_width, client_height},
                           toolbar_, *events_, why);
    if (!window_) return false;
    // Waits end within a millisecond of their deadline, not of the system's 15.6 ms tick: the
    // Ticks come every 50 ms, evenly.
    fine_timer_ = timeBeginPeriod(1) == TIMERR_NOERROR;
    return true;
}

void Win32Screen::close_window() {
    if (!window_) return;
    window_.reset();
    if (fine_timer_) timeEndPeriod(1);
    fine_timer_ = false;
}

std::uint64_t Win32Screen::now_ms() {
    static const std::int64_t frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<std::int64_t>(f.QuadPart);
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    const auto ticks = static_cast<std::int64_t>(counter.QuadPart);
    // Split so that ticks * 1000 cannot overflow however long the machine has been up.
    return static_cast<std::uint64_t>(ticks / frequency * 1000 +
                                      ticks % frequency * 1000 / frequency);
}

void Win32Screen::poll(std::vector<InputEvent>& out) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (sound_) sound_->feed();
    out.insert(out.end(), input_.begin(), input_.end());
    input_.clear();
}

void Win32Screen::wait(std::optional<std::uint64_t> deadline_ms, std::vector<InputEvent>& out) {
    if (input_.empty()) {
        DWORD timeout = INFINITE;
        if (deadline_ms) {
            const std::uint64_t now = now_ms();
            if (*deadline_ms <= now) return;
            timeout = static_cast<DWORD>(std::min<std::uint64_t>(*deadline_ms - now, INFINITE - 1));
        }
        MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    poll(out);
}

void Win32Screen::present(const Framebuffer& fb, const Region& changed) {
    if (window_) window_->show_changes(fb, changed);
}

void Win32Screen::message_box(const std::string& caption, const std::string& text, unsigned type) {
    // The application's flags are Win32's own; its texts ISO 8859-1.
    MessageBoxW(window_ ? window_->handle() : nullptr, latin1_to_wide(text).c_str(),
                latin1_to_wide(caption).c_str(), type);
}

void Win32Screen::show(viewer::Slot slot, const viewer::Box& box) {
    if (window_) window_->redraw(window_->presenter().set_box(slot, box));
}

void Win32Screen::show_status(const viewer::Status& status) {
    if (window_) window_->redraw(window_->presenter().set_badge(status.badge()));
}

void Win32Screen::show_toolbar(const std::vector<viewer::ToolbarButton>& buttons) {
    toolbar_ = buttons;
    if (window_) window_->redraw(window_->presenter().set_toolbar(buttons));
}

void Win32Screen::show_focus(const std::optional<Rect>& around) {
    if (window_) window_->redraw(window_->presenter().set_ring(around));
}

void Win32Screen::show_layer(const viewer::Layer& layer) {
    if (window_) window_->redraw(window_->presenter().set_layer(layer));
}

void Win32Screen::zoom(viewer::Action action) {
    using viewer::Action;
    if (!window_) return;
    if (action == Action::ToggleFullscreen) {
        window_->toggle_fullscreen();
        return;
    }
    const int zoom = window_->zoom();
    window_->set_zoom(action == Action::ZoomIn    ? zoom + 1
                      : action == Action::ZoomOut ? zoom - 1
                                                  : 1);
}

std::string Win32Screen::save_picture(const Framebuffer& fb, const std::string& stem) {
    std::string path =
        desktop::new_capture_path(pictures_folder(), stem, "png", std::time(nullptr));
    image::write_png(fb, path);
    return path;
}

std::unique_ptr<image::Output> Win32Screen::new_capture(const std::string& stem,
                                                        const std::string& extension) {
    return desktop::new_capture_file(pictures_folder(), stem, extension);
}

bool Win32Screen::sound(const std::optional<viewer::Tones>& tones, std::string& why) {
    if (!tones) {
        if (window_) window_->stop_timer();
        sound_.reset();
        return true;
    }
    if (!sound_) {
        auto sound = std::make_unique<WaveHum>();
        if (!sound->open(why)) return false;
        sound_ = std::move(sound);
        if (window_) window_->start_timer(WaveHum::kFeedEveryMs);
    }
    sound_->play(*tones);
    return true;
}

} // namespace kv::win32
