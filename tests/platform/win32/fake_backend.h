// A backend for window-manager tests: a clock the test sets, input the test queues, and a record of
// what was presented and shown.
#pragma once

#include "user/backend.h"

#include <deque>
#include <string>
#include <vector>

namespace kv::testing {

inline InputEvent event(InputEvent::Kind kind, InputEvent::Button button = InputEvent::Button::Left,
                        std::int64_t x = 0, std::int64_t y = 0) {
    InputEvent e;
    e.kind = kind;
    e.button = button;
    e.x = x;
    e.y = y;
    return e;
}

class FakeBackend final : public Backend {
  public:
    bool open_window(const std::string& title, int w, int h, std::string& why) override {
        if (refuse_window) {
            why = "no display";
            return false;
        }
        opened_title = title;
        opened_width = w;
        opened_height = h;
        return true;
    }
    void close_window() override { ++closes; }
    std::uint64_t now_ms() override { return now; }
    void poll(std::vector<InputEvent>& out) override {
        out.insert(out.end(), pending.begin(), pending.end());
        pending.clear();
    }
    // Idle: the next batch of scripted input, or a jump of the clock to the deadline.
    void wait(std::optional<std::uint64_t> deadline, std::vector<InputEvent>& out) override {
        ++waits;
        if (!batches.empty()) {
            out.insert(out.end(), batches.front().begin(), batches.front().end());
            batches.pop_front();
            return;
        }
        if (!deadline) {
            out.push_back(event(InputEvent::Kind::Close));
            return;
        }
        now = *deadline;
    }
    void present(const Framebuffer& fb, const Region& changed) override {
        ++presents;
        presented_width = fb.width();
        last_changed = changed.bounds();
    }
    void message_box(const std::string& caption, const std::string& text, unsigned) override {
        boxes.push_back(caption + ": " + text);
    }

    bool refuse_window = false;
    std::uint64_t now = 0;
    std::vector<InputEvent> pending;
    std::deque<std::vector<InputEvent>> batches;
    std::string opened_title;
    int opened_width = -1;
    int opened_height = -1;
    int closes = 0;
    int waits = 0;
    int presents = 0;
    int presented_width = 0;
    Rect last_changed;
    std::vector<std::string> boxes;
};

} // namespace kv::testing
