#include "backends/web/web_backend.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <utility>

// The page's side of the contract lives in the object `kvWeb` its script defines (see
// tools/korveline_web/index.html); these calls are all the program knows of the page.
// clang-format off
EM_JS(void, kv_js_open, (void* backend, int width, int height), {
    kvWeb.open(backend, width, height);
});
EM_JS(void, kv_js_blit, (const void* pixels, int stride, int x, int y, int width, int height), {
    kvWeb.blit(HEAPU8, pixels, stride, x, y, width, height);
});
EM_JS(void, kv_js_layout, (int zoom, int device_per_css_milli), {
    kvWeb.layout(zoom, device_per_css_milli / 1000);
});
EM_JS(void, kv_js_status, (const char* badge, int paused), {
    kvWeb.status(badge ? UTF8ToString(badge) : "", paused != 0);
});
EM_JS(void, kv_js_ticks, (double ticks, int first_frame), {
    kvWeb.ticked(ticks, first_frame != 0);
});
EM_JS(void, kv_js_message_box, (const char* caption, int caption_length, const char* text,
                                int text_length), {
    // ISO 8859-1 bytes: each one is the code point of the same value.
    const latin1 = (p, n) => String.fromCharCode.apply(null, HEAPU8.subarray(p, p + n));
    kvWeb.messageBox(latin1(caption, caption_length), latin1(text, text_length));
});
EM_ASYNC_JS(void, kv_js_sleep, (double ms), {
    await kvWeb.sleep(ms);
});
// clang-format on

namespace kv::web {

namespace {

std::uint64_t wall_ms() {
    return static_cast<std::uint64_t>(emscripten_get_now());
}

} // namespace

bool WebBackend::open_window(const std::string& /*title*/, int client_width, int client_height,
                             std::string& /*why*/) {
    // The page shows its own title; the canvas is the client area.
    client_ = Size{client_width, client_height};
    clock_ = ViewerClock(wall_ms());
    open_ = true;
    kv_js_open(this, client_width, client_height);
    apply_layout();
    show_status();
    return true;
}

void WebBackend::close_window() {
    open_ = false;
}

std::uint64_t WebBackend::now_ms() {
    return clock_.now(wall_ms());
}

void WebBackend::poll(std::vector<InputEvent>& out) {
    finish_tick();
    out.insert(out.end(), queue_.begin(), queue_.end());
    queue_.clear();
}

void WebBackend::wait(std::optional<std::uint64_t> deadline_ms, std::vector<InputEvent>& out) {
    finish_tick();
    for (;;) {
        if (!queue_.empty()) {
            poll(out);
            return;
        }
        if (clock_.take_step(deadline_ms)) return;
        // Fast motion: the rest of this period's Ticks come at once.
        if (deadline_ms && clock_.run_next_tick_now(*deadline_ms, wall_ms())) return;
        // Recomputed on every pass: the page may just have paused or slowed the clock.
        std::optional<std::uint64_t> until;
        if (deadline_ms) until = clock_.wall_deadline(*deadline_ms, wall_ms());
        if (until) {
            const std::uint64_t now = wall_ms();
            if (*until <= now) return;
            kv_js_sleep(static_cast<double>(*until - now));
        } else {
            kv_js_sleep(-1); // until the page hands in something
        }
    }
}

void WebBackend::present(const Framebuffer& fb, const Region& changed) {
    const Rect whole = fb.bounds();
    // The first frame, and any frame the page may have lost track of, goes out whole.
    std::vector<Rect> rects;
    if (first_frame_) {
        rects.push_back(whole);
    } else {
        rects = changed.rects();
    }
    for (const Rect& r : rects) {
        const Rect part = intersect(r, whole);
        if (part.empty()) continue;
        kv_js_blit(fb.row(0), fb.width(), static_cast<int>(part.left), static_cast<int>(part.top),
                   static_cast<int>(part.width()), static_cast<int>(part.height()));
    }
    if (first_frame_) kv_js_ticks(static_cast<double>(ticks_), 1);
    first_frame_ = false;
}

void WebBackend::message_box(const std::string& caption, const std::string& text,
                             unsigned /*type*/) {
    kv_js_message_box(caption.data(), static_cast<int>(caption.size()), text.data(),
                      static_cast<int>(text.size()));
}

void WebBackend::timer_delivered(std::uint64_t /*now_ms*/) {
    finish_tick();
    if (hooks_.starting) hooks_.starting();
    tick_running_ = true;
    clock_.timer_delivered(wall_ms());
    ++ticks_;
    kv_js_ticks(static_cast<double>(ticks_), 0);
}

void WebBackend::finish_tick() {
    if (!tick_running_) return;
    tick_running_ = false;
    if (hooks_.done) hooks_.done();
}

void WebBackend::pointer(bool down, InputEvent::Button button, std::int64_t x, std::int64_t y) {
    if (!open_ || x < 0 || y < 0 || x >= client_.width || y >= client_.height) return;
    InputEvent e;
    e.kind = down ? InputEvent::Kind::ButtonDown : InputEvent::Kind::ButtonUp;
    e.button = button;
    e.x = x;
    e.y = y;
    queue_.push_back(e);
}

void WebBackend::act(ViewerAction action) {
    const std::uint64_t wall = wall_ms();
    switch (action) {
    case ViewerAction::TogglePause:
        clock_.toggle_pause(wall);
        break;
    case ViewerAction::Step:
        clock_.request_step();
        break;
    case ViewerAction::Slower:
        clock_.slower(wall);
        break;
    case ViewerAction::Faster:
        clock_.faster(wall);
        break;
    case ViewerAction::ZoomIn:
    case ViewerAction::ZoomOut: {
        const int from = zoom_.value_or(viewer::zoom_to_fit(room_, client_));
        const int step = action == ViewerAction::ZoomIn ? 1 : -1;
        zoom_ = std::clamp(from + step, viewer::kMinZoom, viewer::kMaxZoom);
        apply_layout();
        break;
    }
    case ViewerAction::ZoomFit:
        zoom_.reset();
        apply_layout();
        break;
    }
    show_status();
}

void WebBackend::viewport(int css_width, int css_height, int device_per_css_milli) {
    device_milli_ = std::max(device_per_css_milli, 1);
    const auto device = [&](int css) {
        return static_cast<int>(static_cast<std::int64_t>(std::max(css, 0)) * device_milli_ / 1000);
    };
    room_ = Size{device(css_width), device(css_height)};
    apply_layout();
}

void WebBackend::apply_layout() {
    if (!open_) return;
    // Whole device pixels per client pixel keep the picture crisp.
    const int zoom = zoom_.value_or(viewer::zoom_to_fit(room_, client_));
    kv_js_layout(zoom, device_milli_);
}

void WebBackend::show_status() {
    const std::optional<std::string> badge = viewer::clock_badge(clock_);
    kv_js_status(badge ? badge->c_str() : nullptr, clock_.paused() ? 1 : 0);
}

} // namespace kv::web

// The page's entry points; `backend` is the pointer the page received in kvWeb.open.
extern "C" {

EMSCRIPTEN_KEEPALIVE void kv_web_pointer(void* backend, int down, int right, int x, int y) {
    static_cast<kv::web::WebBackend*>(backend)->pointer(
        down != 0, right != 0 ? kv::InputEvent::Button::Right : kv::InputEvent::Button::Left, x, y);
}

EMSCRIPTEN_KEEPALIVE void kv_web_action(void* backend, int action) {
    if (action < 0 || action > static_cast<int>(kv::web::ViewerAction::ZoomFit)) return;
    static_cast<kv::web::WebBackend*>(backend)->act(static_cast<kv::web::ViewerAction>(action));
}

EMSCRIPTEN_KEEPALIVE void kv_web_viewport(void* backend, int css_width, int css_height,
                                          int device_per_css_milli) {
    static_cast<kv::web::WebBackend*>(backend)->viewport(css_width, css_height,
                                                         device_per_css_milli);
}
}
