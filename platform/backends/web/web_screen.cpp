#include "backends/web/web_screen.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <span>
#include <utility>

// The page's side of the contract lives in the object `kvWeb` its script defines (see
// tools/korveline_web/page/); these calls are all the program knows of the page.
// clang-format off
EM_JS(void, kv_js_open, (void* screen, int width, int height, const char* actions), {
    kvWeb.open(screen, width, height, UTF8ToString(actions));
});
EM_JS(void, kv_js_blit, (const void* rgba, int width, int height, int x, int y, int w, int h), {
    kvWeb.blit(HEAPU8, rgba, width, height, x, y, w, h);
});
EM_JS(void, kv_js_layout, (double css_scale, double device_scale), {
    kvWeb.layout(css_scale, device_scale);
});
// `rows`: a character a row of the table: '1' on, '0' off, '-' no toggle, 'x' cannot act now.
EM_JS(void, kv_js_status, (const char* clock, int paused, const char* rows, const char* message), {
    kvWeb.status(UTF8ToString(clock), paused != 0, UTF8ToString(rows), UTF8ToString(message));
});
EM_JS(void, kv_js_ticks, (double ticks, int first_frame), {
    kvWeb.ticked(ticks, first_frame != 0);
});
// ISO 8859-1 bytes: each one is the code point of the same value.
EM_JS(void, kv_js_message_box, (const char* caption, int caption_length, const char* text,
                                int text_length), {
    const latin1 = (p, n) => String.fromCharCode.apply(null, HEAPU8.subarray(p, p + n));
    kvWeb.messageBox(latin1(caption, caption_length), latin1(text, text_length));
});
EM_JS(void, kv_js_box, (int slot, const char* text, int length), {
    kvWeb.box(slot, String.fromCharCode.apply(null, HEAPU8.subarray(text, text + length)));
});
// The layer over the picture: RGBA bytes (alpha 0 where the picture shows) of a rectangle at a
// client position; a width of 0: none.
EM_JS(void, kv_js_layer, (const void* rgba, int x, int y, int width, int height), {
    kvWeb.layer(HEAPU8.slice(rgba, rgba + 4 * width * height), x, y, width, height);
});
// The focus ring around a client rectangle; a width of 0: none.
EM_JS(void, kv_js_focus, (int x, int y, int width, int height), {
    kvWeb.focusRing(x, y, width, height);
});
// The two hums (open 0: none); 1 when the page can play them.
EM_JS(int, kv_js_sound, (int open, double first_hz, double second_hz, double gain), {
    return kvWeb.sound(open !== 0, first_hz, second_hz, gain) ? 1 : 0;
});
EM_JS(void, kv_js_focus_name, (const char* name), {
    kvWeb.focusName(UTF8ToString(name));
});
EM_JS(void, kv_js_fullscreen, (), {
    kvWeb.fullscreen();
});
EM_JS(void, kv_js_save_picture, (const char* stem), {
    kvWeb.savePicture(UTF8ToString(stem));
});
// A piece of capture `id`; then its end, with a name (kept: downloaded) or none (dropped).
EM_JS(void, kv_js_capture, (int id, const void* bytes, int length, int end, const char* name), {
    kvWeb.capture(id, HEAPU8.slice(bytes, bytes + length), end ? UTF8ToString(name) : null);
});
EM_JS(void, kv_js_key_name, (char* buffer, int size), {
    const key = kvWeb.key;
    let n = 0;
    for (; n < key.length && n < size - 1; ++n) { const c = key.charCodeAt(n); HEAPU8[buffer + n] = c < 128 ? c : 63; }
    HEAPU8[buffer + n] = 0;
});
EM_ASYNC_JS(void, kv_js_sleep, (double ms), {
    await kvWeb.sleep(ms);
});
// clang-format on

namespace kv::web {

namespace {

// The table of actions for the page's toolbar and help: a row a line, tab-separated (UTF-8).
std::string action_rows(std::span<const viewer::ActionInfo> table) {
    using viewer::Lang;
    std::string text;
    for (const viewer::ActionInfo& a : table) {
        for (const std::string_view field :
             {a.name, a.label.fr, a.label.en, a.label_on.fr, a.label_on.en, a.help.fr, a.help.en})
            text.append(field).append("\t");
        text += viewer::keys_text(a, Lang::Fr, ", ") + '\t' + viewer::keys_text(a, Lang::En, ", ");
        text += a.toolbar == viewer::Button::Toolbars ? "\t1\n" : "\t0\n";
    }
    return text;
}

// A capture handed to the page piece by piece, and downloaded when kept (dropped otherwise).
class Download final : public image::Output {
  public:
    explicit Download(std::string name) : Output(std::move(name)), id_(++last_id_) {}
    ~Download() override { kv_js_capture(id_, nullptr, 0, 1, kept_ ? name().c_str() : ""); }
    void write(std::span<const std::uint8_t> bytes) override {
        kv_js_capture(id_, bytes.data(), static_cast<int>(bytes.size()), 0, nullptr);
    }
    std::string keep() override {
        kept_ = true;
        return {}; // downloaded as it goes; the browser shows its downloads itself
    }

  private:
    static inline int last_id_ = 0;
    int id_;
    bool kept_ = false;
};

} // namespace

bool WebScreen::open_window(const std::string& /*title*/, int client_width, int client_height,
                            std::string& /*why*/) {
    // The page shows its own title; the canvas is the client area.
    client_ = viewer::Size{client_width, client_height};
    open_ = true;
    kv_js_open(this, client_width, client_height, action_rows(actions()).c_str());
    apply_layout();
    return true;
}

void WebScreen::close_window() {
    open_ = false;
}

std::uint64_t WebScreen::now_ms() {
    return static_cast<std::uint64_t>(emscripten_get_now());
}

void WebScreen::poll(std::vector<InputEvent>& out) {
    out.insert(out.end(), queue_.begin(), queue_.end());
    queue_.clear();
}

void WebScreen::wait(std::optional<std::uint64_t> deadline_ms, std::vector<InputEvent>& out) {
    if (queue_.empty()) {
        const std::uint64_t now = now_ms();
        if (deadline_ms && *deadline_ms <= now) return;
        // Until the deadline, or until the page hands in something (none: only that).
        kv_js_sleep(deadline_ms ? static_cast<double>(*deadline_ms - now) : -1.0);
    }
    poll(out);
}

void WebScreen::present(const Framebuffer& fb, const Region& changed) {
    const Rect whole = fb.bounds();
    // The first frame, and any frame the page may have lost track of, goes out whole.
    const bool all = first_frame_ || opaque_.size() != fb.pixels().size();
    const std::vector<Rect> rects = all ? std::vector<Rect>{whole} : changed.rects();
    opaque_.resize(fb.pixels().size());
    for (const Rect& r : rects) {
        const Rect part = intersect(r, whole);
        if (part.empty()) continue;
        copy_opaque(fb, part);
        kv_js_blit(opaque_.data(), fb.width(), fb.height(), static_cast<int>(part.left),
                   static_cast<int>(part.top), static_cast<int>(part.width()),
                   static_cast<int>(part.height()));
    }
    if (first_frame_) kv_js_ticks(static_cast<double>(ticks_), 1);
    first_frame_ = false;
}

// Framebuffer words 0x00BBGGRR are the bytes R, G, B, 0 in memory: ImageData's order, but for the
// alpha the canvas needs opaque. Done here rather than in the page's script, where a loop over
// every pixel of the first frame ran as cold, unoptimised JavaScript (about 25 ms of the first
// frame).
void WebScreen::copy_opaque(const Framebuffer& fb, const Rect& part) {
    constexpr std::uint32_t kOpaque = 0xFF000000u;
    const std::span<const Color> pixels = fb.pixels();
    const std::span<std::uint32_t> opaque = opaque_;
    const auto width = static_cast<std::size_t>(part.width());
    for (std::int64_t y = part.top; y < part.bottom; ++y) {
        const auto at = static_cast<std::size_t>(y * fb.width() + part.left);
        const auto row = pixels.subspan(at, width);
        std::transform(row.begin(), row.end(), opaque.subspan(at, width).begin(),
                       [](Color c) { return c | kOpaque; });
    }
}

void WebScreen::message_box(const std::string& caption, const std::string& text,
                            unsigned /*type*/) {
    kv_js_message_box(caption.data(), static_cast<int>(caption.size()), text.data(),
                      static_cast<int>(text.size()));
}

void WebScreen::timer_delivered(std::uint64_t /*now_ms*/, std::uint64_t /*period_ms*/) {
    ++ticks_;
    kv_js_ticks(static_cast<double>(ticks_), 0);
}

// The title, then a line a row: its fields separated by tabs (left, right, swatch colour as
// RRGGBB or nothing). ISO 8859-1, as the box's texts are.
void WebScreen::show(viewer::Slot slot, const viewer::Box& box) {
    std::string text = box.title;
    for (const viewer::BoxRow& row : box.rows) {
        char swatch[8] = "";
        if (row.swatch) {
            std::snprintf(swatch, sizeof swatch, "%02x%02x%02x", red_of(*row.swatch),
                          green_of(*row.swatch), blue_of(*row.swatch));
        }
        text += '\n' + row.left + '\t' + row.right + '\t' + swatch;
    }
    kv_js_box(static_cast<int>(slot), text.data(), static_cast<int>(text.size()));
}

void WebScreen::show_status(const viewer::Status& status) {
    std::string rows;
    for (const viewer::ActionInfo& a : actions()) {
        const std::optional<bool> on = status.on(a.action);
        rows += !status.enabled(a.action) ? 'x' : on ? (*on ? '1' : '0') : '-';
    }
    kv_js_status(status.clock.value_or("").c_str(), status.paused ? 1 : 0, rows.c_str(),
                 status.message.c_str());
}

void WebScreen::show_focus(const std::optional<Rect>& around) {
    const Rect r = around.value_or(Rect{});
    kv_js_focus(static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.width()),
                static_cast<int>(r.height()));
}

// In a canvas of its own over the picture's: the picture's canvas keeps the framebuffer alone.
void WebScreen::show_layer(const viewer::Layer& layer) {
    const std::span<const Color> pixels = layer.image.pixels();
    std::vector<std::uint32_t> rgba(pixels.size());
    std::transform(pixels.begin(), pixels.end(), rgba.begin(),
                   [](Color c) { return c == viewer::kClear ? 0u : c | 0xFF000000u; });
    kv_js_layer(rgba.data(), static_cast<int>(layer.left), static_cast<int>(layer.top),
                layer.image.width(), layer.image.height());
}

bool WebScreen::sound(const std::optional<viewer::Tones>& tones, std::string& why) {
    const viewer::Tones t = tones.value_or(viewer::Tones{});
    if (kv_js_sound(tones ? 1 : 0, t.first_hz, t.second_hz, t.gain) != 0) return true;
    why = "this browser has no Web Audio";
    return false;
}

void WebScreen::name_focus(const std::string& name) {
    kv_js_focus_name(name.c_str());
}

void WebScreen::zoom(viewer::Action action) {
    using viewer::Action;
    if (action == Action::ToggleFullscreen) {
        kv_js_fullscreen();
        return;
    }
    if (action == Action::ZoomReset) {
        zoom_.reset();
    } else {
        const int step = action == Action::ZoomIn ? 1 : -1;
        zoom_ = std::clamp(static_cast<int>(std::lround(device_scale_)) + step, viewer::kMinZoom,
                           viewer::kMaxZoom);
    }
    css_scale_.reset();
    apply_layout();
}

std::string WebScreen::save_picture(const Framebuffer& /*fb*/, const std::string& stem) {
    // The canvas holds the framebuffer pixel for pixel, and the browser codes PNG well.
    kv_js_save_picture(stem.c_str());
    return {};
}

std::unique_ptr<image::Output> WebScreen::new_capture(const std::string& stem,
                                                      const std::string& extension) {
    return std::make_unique<Download>(stem + "." + extension);
}

void WebScreen::pointer(bool down, InputEvent::Button button, std::int64_t x, std::int64_t y) {
    if (!open_ || x < 0 || y < 0 || x >= client_.width || y >= client_.height) return;
    queue_.push_back(
        {down ? InputEvent::Kind::ButtonDown : InputEvent::Kind::ButtonUp, button, x, y});
}

bool WebScreen::key(const viewer::KeyPress& press) {
    using viewer::Action;
    if (panel_key(press)) return true;
    const std::optional<Action> action = action_for_key(press);
    if (!action) return false;
    // Ctrl + - 0 stay the browser's own zoom, which zooms the picture with the page.
    if (action == Action::ZoomIn || action == Action::ZoomOut || action == Action::ZoomReset)
        return false;
    return act(*action);
}

void WebScreen::viewport(int css_width, int css_height, int device_per_css_milli, bool fullscreen) {
    const int milli = std::max(device_per_css_milli, 1);
    // A new number of device pixels per CSS pixel out of full screen: the browser zooms the page.
    if (device_milli_ != 0 && milli != device_milli_ && !fullscreen && !fullscreen_)
        css_scale_ = device_scale_ * 1000.0 / device_milli_;
    device_milli_ = milli;
    fullscreen_ = fullscreen;
    const auto device = [&](int css) {
        return static_cast<int>(static_cast<std::int64_t>(std::max(css, 0)) * milli / 1000);
    };
    room_ = viewer::Size{device(css_width), device(css_height)};
    apply_layout();
}

void WebScreen::apply_layout() {
    if (!open_ || device_milli_ == 0 || client_.width <= 0 || client_.height <= 0) return;
    const double per_css = device_milli_ / 1000.0;
    if (fullscreen_) {
        // The whole screen, by a factor that need not be whole.
        device_scale_ = std::min(static_cast<double>(room_.width) / client_.width,
                                 static_cast<double>(room_.height) / client_.height);
    } else if (css_scale_) {
        device_scale_ = *css_scale_ * per_css;
    } else {
        // Whole device pixels per client pixel keep the picture crisp.
        device_scale_ = zoom_.value_or(viewer::zoom_to_fit(room_, client_));
    }
    kv_js_layout(device_scale_ / per_css, device_scale_);
}

} // namespace kv::web

// The page's entry points; `screen` is the pointer the page received in kvWeb.open.
extern "C" {

EMSCRIPTEN_KEEPALIVE void kv_web_pointer(void* screen, int down, int right, int x, int y) {
    static_cast<kv::web::WebScreen*>(screen)->pointer(
        down != 0, right != 0 ? kv::InputEvent::Button::Right : kv::InputEvent::Button::Left, x, y);
}

// The key is kvWeb.key (a KeyboardEvent.key); 1 when the viewer took it.
EMSCRIPTEN_KEEPALIVE int kv_web_key(void* screen, int ctrl, int alt, int shift, int repeat) {
    char name[16];
    kv_js_key_name(name, sizeof name);
    return static_cast<kv::web::WebScreen*>(screen)->key(
               {name, ctrl != 0, alt != 0, repeat != 0, shift != 0})
               ? 1
               : 0;
}

// The canvas takes the keyboard's focus (1; 2: backwards, by Shift Tab) or loses it (0).
EMSCRIPTEN_KEEPALIVE void kv_web_focus(void* screen, int how) {
    const auto* web = static_cast<kv::web::WebScreen*>(screen);
    if (how == 0)
        web->focus_out();
    else
        web->focus_in(how == 2);
}

// A toolbar button: the action of that row of the table.
EMSCRIPTEN_KEEPALIVE void kv_web_action(void* screen, int row) {
    const auto* web = static_cast<kv::web::WebScreen*>(screen);
    const auto table = web->actions();
    if (row >= 0 && static_cast<std::size_t>(row) < table.size())
        web->act(table[static_cast<std::size_t>(row)].action);
}

// The page's language buttons: the viewer's own texts (the list of keys) follow.
EMSCRIPTEN_KEEPALIVE void kv_web_language(void* screen, int english) {
    static_cast<kv::web::WebScreen*>(screen)->language(english != 0 ? kv::viewer::Lang::En
                                                                    : kv::viewer::Lang::Fr);
}

EMSCRIPTEN_KEEPALIVE void kv_web_viewport(void* screen, int css_width, int css_height,
                                          int device_per_css_milli, int fullscreen) {
    static_cast<kv::web::WebScreen*>(screen)->viewport(css_width, css_height, device_per_css_milli,
                                                       fullscreen != 0);
}
}
