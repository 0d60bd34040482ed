#include "image/png_reader.h"
#include "core/run_error.h"
#include "image/file_error.h"
#include "backends/headless/scripted_backend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace kv::headless {
namespace {

namespace fs = std::filesystem;
using EventKind = InputEvent::Kind;

std::vector<Command> script(std::string_view text) {
    auto result = parse_script(text);
    if (const auto* error = std::get_if<ParseError>(&result)) {
        ADD_FAILURE() << "line " << error->line << ": " << error->message;
        return {};
    }
    return std::get<std::vector<Command>>(result);
}

// Stands in for the window manager: present what is drawn, then wait while idle, its timer due
// one period (50 ms) on.
class Driver {
  public:
    explicit Driver(std::string_view text)
        : backend_(script(text), ScriptOutput{&out_, &err_, [this] { return state(); }}) {}

    std::vector<InputEvent> idle() {
        backend_.present(fb, Region(fb.bounds()));
        std::vector<InputEvent> events;
        backend_.wait(backend_.now_ms() + 50, events);
        if (events.empty()) ++ticks_handled_;
        return events;
    }

    ScriptedBackend& backend() { return backend_; }
    std::string out() const { return out_.str(); }
    std::string err() const { return err_.str(); }

    Framebuffer fb{4, 3};

  private:
    std::string state() const { return "{\"ticks\":" + std::to_string(ticks_handled_) + "}"; }

    std::ostringstream out_;
    std::ostringstream err_;
    int ticks_handled_ = 0;
    ScriptedBackend backend_;
};

void expect_close_then_no_exit(Driver& d) {
    const std::vector<InputEvent> close = d.idle();
    ASSERT_EQ(close.size(), 1u);
    EXPECT_EQ(close[0].kind, EventKind::Close);
    try {
        d.idle();
        FAIL() << "a program that stays after its Close must stop the run";
    } catch (const RunError& e) {
        EXPECT_STREQ(e.what(), "the program did not exit after WM_CLOSE");
    }
}

TEST(ScriptedBackend, EachTickAdvancesTheClockByOneTimerPeriodWithoutInput) {
    Driver d("tick 3\ntick 0\ntick");
    EXPECT_EQ(d.backend().now_ms(), 0u);
    for (std::uint64_t n = 1; n <= 4; ++n) {
        EXPECT_TRUE(d.idle().empty());
        EXPECT_EQ(d.backend().now_ms(), n * 50);
    }
    expect_close_then_no_exit(d);
    EXPECT_EQ(d.backend().now_ms(), 200u);
}

TEST(ScriptedBackend, InputCommandsBecomeEvents) {
    Driver d("click right 12 -7\nexpose\nexpose 1 2 3 4\nexpose 5 5 0 9\nresize 640 480\nclose");

    const std::vector<InputEvent> click = d.idle();
    ASSERT_EQ(click.size(), 3u);
    const EventKind order[] = {EventKind::MouseMove, EventKind::ButtonDown, EventKind::ButtonUp};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(click[i].kind, order[i]);
        EXPECT_EQ(click[i].button, InputEvent::Button::Right);
        EXPECT_EQ(click[i].x, 12);
        EXPECT_EQ(click[i].y, -7);
    }

    std::vector<InputEvent> e = d.idle();
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].kind, EventKind::Expose);
    EXPECT_TRUE(e[0].rect.empty()) << "no rectangle: the whole client area";

    e = d.idle();
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].kind, EventKind::Expose);
    EXPECT_EQ(e[0].rect, (Rect{1, 2, 4, 6}));

    // The zero-size expose asks for nothing, so the resize follows at once.
    e = d.idle();
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].kind, EventKind::Resize);
    EXPECT_EQ(e[0].width, 640);
    EXPECT_EQ(e[0].height, 480);

    expect_close_then_no_exit(d);
    EXPECT_EQ(d.backend().now_ms(), 0u) << "input takes no virtual time";
}

TEST(ScriptedBackend, PixelPrintsTheLastPresentedFrame) {
    Driver d("pixel 0 0\npixel 3 2\npixel 4 0\npixel 0 3\npixel -1 1\nresize 2 2\npixel 3 2");
    d.fb.set(0, 0, rgb(0xAB, 0xCD, 0xEF));
    d.fb.set(3, 2, rgb(0x01, 0x20, 0x0F));
    ASSERT_EQ(d.idle()[0].kind, EventKind::Resize);
    d.fb.resize(2, 2);
    d.idle();
    EXPECT_EQ(d.out(), "pixel 0 0 ABCDEF\n"
                       "pixel 3 2 01200F\n"
                       "pixel 4 0 invalid\n"
                       "pixel 0 3 invalid\n"
                       "pixel -1 1 invalid\n"
                       "pixel 3 2 invalid\n");
}

TEST(ScriptedBackend, StatePrintsTheHookLineOnceTheTicksBeforeItAreHandled) {
    Driver d("state\ntick 2\nstate # after both ticks\nclick left 1 1\nstate");
    EXPECT_TRUE(d.idle().empty());
    EXPECT_TRUE(d.idle().empty());
    EXPECT_EQ(d.idle().size(), 3u);
    expect_close_then_no_exit(d);
    EXPECT_EQ(d.out(), "{\"ticks\":0}\n{\"ticks\":2}\n{\"ticks\":2}\n");
}

TEST(ScriptedBackend, WindowAndMessageBox) {
    Driver d("");
    std::string why;
    EXPECT_TRUE(d.backend().open_window("Motor", 800, 600, why));
    EXPECT_EQ(d.backend().window_title(), "Motor");
    EXPECT_EQ(d.backend().window_width(), 800);
    EXPECT_EQ(d.backend().window_height(), 600);

    d.backend().set_window_creation_failure("no more windows");
    EXPECT_FALSE(d.backend().open_window("Motor", 800, 600, why));
    EXPECT_EQ(why, "no more windows");

    d.backend().message_box("Error!", "Window Creation Failed!", 0);
    EXPECT_EQ(d.err(), "Error!: Window Creation Failed!\n");
    EXPECT_EQ(d.out(), "");
}

class Snapshot : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ =
            fs::temp_directory_path() / ("kv_headless_" + std::to_string(std::random_device{}()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::vector<fs::path> files() const {
        std::vector<fs::path> found;
        for (const auto& entry : fs::recursive_directory_iterator(dir_)) {
            found.push_back(entry.path().lexically_relative(dir_));
        }
        return found;
    }

    fs::path dir_;
};

TEST_F(Snapshot, WritesThePresentedFramePixelExact) {
    const std::string file = path("frame 1.png");
    Driver d("snapshot " + file + "\nclick left 0 0\nsnapshot " + file);
    d.fb = Framebuffer(7, 5);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) {
            d.fb.set(x, y,
                     rgb(static_cast<std::uint8_t>(x * 37), static_cast<std::uint8_t>(y * 61),
                         static_cast<std::uint8_t>(255 - x * y)));
        }
    }
    ASSERT_EQ(d.idle().size(), 3u);
    Framebuffer first = image::read_png(file);
    EXPECT_EQ(first.width(), 7);
    EXPECT_EQ(first.height(), 5);
    EXPECT_TRUE(std::ranges::equal(first.pixels(), d.fb.pixels()));

    // The second snapshot replaces the first.
    d.fb.set(6, 4, rgb(1, 2, 3));
    d.idle();
    EXPECT_TRUE(std::ranges::equal(image::read_png(file).pixels(), d.fb.pixels()));
    EXPECT_EQ(files(), std::vector<fs::path>{"frame 1.png"}) << "no temporary file is left";
}

TEST_F(Snapshot, UnwritablePathStopsTheRunAndLeavesNoFile) {
    // A folder that does not exist, and a path that is taken by a folder (the temporary file is
    // written, the rename fails).
    fs::create_directory(path("taken.png"));
    const struct {
        std::string file;
        std::string reason;
    } cases[] = {{path("missing/frame.png"), "No such file or directory"},
                 {path("taken.png"), "Is a directory"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        Driver d("tick\n\nsnapshot " + c.file);
        d.idle();
        try {
            d.idle();
            ADD_FAILURE() << "expected a RunError";
        } catch (const RunError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find("'" + c.file + "'"), std::string::npos) << message;
            EXPECT_NE(message.find(c.reason), std::string::npos) << message;
            EXPECT_EQ(e.line(), 3);
        }
    }
    EXPECT_EQ(files(), std::vector<fs::path>{"taken.png"});
}

TEST_F(Snapshot, EmptyFrameIsRefusedAndLeavesNoFile) {
    Driver d("snapshot " + path("empty.png"));
    d.fb = Framebuffer(0, 0);
    try {
        d.idle();
        FAIL() << "expected a RunError";
    } catch (const RunError& e) {
        EXPECT_NE(std::string(e.what()).find("the image is empty (0 x 0)"), std::string::npos)
            << e.what();
    }
    EXPECT_TRUE(files().empty());
}

TEST_F(Snapshot, ReadingSomethingThatIsNotAPngFails) {
    std::ofstream(path("text.png")) << "not a png";
    EXPECT_THROW(image::read_png(path("text.png")), image::FileError);
    EXPECT_THROW(image::read_png(path("absent.png")), image::FileError);
}

} // namespace
} // namespace kv::headless
