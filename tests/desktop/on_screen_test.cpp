// korveline on a real X server: what a person at the screen does and sees. Each test has its own
// Xvfb and its own program; pixels are read back from screenshots of the window.
#include "backends/desktop/presenter.h"
#include "viewer/actions.h"
#include "image/png_reader.h"
#include "desktop/desktop_session.h"
#include "platform/headless/gif_player.h"
#include "tools/instruments/action_table.h"
#include "tools/instruments/plot_scales.h"
#include "tools/instruments/steady_curve_layer.h"
#include "viewer/boxes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

using kv::Color;
using kv::Framebuffer;
using kv::Rect;
using kv::rgb;
using kvtest::Desktop;

constexpr Color kBackground = rgb(0, 200, 200);
constexpr Color kRed = rgb(255, 0, 0);
constexpr Color kGreen = rgb(0, 255, 0);
constexpr Color kBlue = rgb(0, 0, 255);
constexpr Color kBlack = rgb(0, 0, 0);
constexpr Color kDarkYellow = rgb(155, 155, 0);
constexpr Color kBadgeBox = rgb(48, 48, 48);

// Where the user clicks, in client coordinates.
constexpr int kAlimX = 25, kAlimY = 25;
constexpr int kRotorX = 260, kRotorY = 290;
constexpr int kLeftCoilX = 100, kLeftCoilY = 300;
constexpr int kBrakeX = 250, kBrakeY = 465;
constexpr int kResetX = 760, kResetY = 348;

constexpr Rect kAlimBox{0, 0, 50, 50};
constexpr Rect kPlot{461, 6, 780, 355}; // inside the plot's frame, right of the torque axis
constexpr Rect kBadgeCorner{680, 0, 780, 40};

// The program's toolbar as it opens.
std::vector<kv::viewer::ToolbarButton> toolbar() {
    return kv::viewer::toolbar_buttons(kv::tools::ActionTable(), kv::viewer::Lang::Fr, {});
}

// The window's size at `zoom` with nothing beside the picture but its toolbar, "WIDTHxHEIGHT".
std::string window_geometry(int zoom) {
    kv::desktop::Presenter sizes;
    sizes.set_toolbar(toolbar());
    const kv::viewer::Size size = sizes.window_size(kv::viewer::Size{780, 557}, zoom);
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

int count(const Framebuffer& fb, const Rect& area, Color c) {
    int n = 0;
    for (std::int64_t y = area.top; y < area.bottom; ++y)
        for (std::int64_t x = area.left; x < area.right; ++x)
            n += fb.get(x, y) == c;
    return n;
}

// Pixels of the central disc (centre (260, 290), radius 100) equal in both pictures.
bool same_disc(const Framebuffer& a, const Framebuffer& b) {
    for (int y = 190; y <= 390; ++y)
        for (int x = 160; x <= 360; ++x) {
            const int dx = x - 260, dy = y - 290;
            if (dx * dx + dy * dy <= 100 * 100 && a.get(x, y) != b.get(x, y)) return false;
        }
    return true;
}

int count_in_disc(const Framebuffer& fb, Color c) {
    int n = 0;
    for (int y = 190; y <= 390; ++y)
        for (int x = 160; x <= 360; ++x) {
            const int dx = x - 260, dy = y - 290;
            n += dx * dx + dy * dy <= 100 * 100 && fb.get(x, y) == c;
        }
    return n;
}

class OnScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* tool : {"Xvfb", "xdotool", "import"}) {
            if (!kvtest::installed(tool)) GTEST_SKIP() << tool << " is not installed";
        }
        dir_ = kvtest::scratch_dir();
        x_ = std::make_unique<kvtest::XServer>(dir_, screen(), server_options());
        ASSERT_TRUE(x_->ok()) << "Xvfb did not start: " << x_->failure();
        ASSERT_NO_FATAL_FAILURE(before_the_program());
        desktop_ = std::make_unique<Desktop>(*x_, dir_, environment());
        ASSERT_TRUE(desktop_->ok()) << "no KORVELINE window; korveline said: " << desktop_->err();
    }

    virtual std::vector<std::string> environment() const { return {}; }
    virtual std::string screen() const { return "1024x768"; }
    virtual std::vector<std::string> server_options() const { return {}; }
    virtual void before_the_program() {}

    Desktop& desktop() { return *desktop_; }

    // The supply on, and the first Ticks run with it.
    void supply_on() {
        desktop().click(kAlimX, kAlimY);
        ASSERT_TRUE(kvtest::eventually(
            desktop(), [](const Framebuffer& fb) { return count(fb, kAlimBox, kGreen) > 0; }));
    }

    std::string dir_;
    std::unique_ptr<kvtest::XServer> x_;
    std::unique_ptr<Desktop> desktop_;
};

TEST_F(OnScreen, TheWindowIsTitledAndSizedAndShowsTheSceneWithTheSupplyOffAndItsToolbar) {
    EXPECT_EQ(desktop().xdotool("getwindowname " + desktop().window()), "KORVELINE");
    EXPECT_EQ(desktop().geometry(), window_geometry(1));
    const Framebuffer shot = desktop().screenshot();
    ASSERT_EQ(shot.width(), 780);
    ASSERT_GT(shot.height(), 557);
    EXPECT_EQ(shot.get(5, 100), kBackground);
    EXPECT_EQ(shot.get(380, 545), kBackground);
    EXPECT_GT(count(shot, kAlimBox, kRed), 20);
    EXPECT_EQ(count(shot, kAlimBox, kGreen), 0);
    EXPECT_EQ(count(shot, kBadgeCorner, kBadgeBox), 0); // full speed: no badge
    // Under the picture, the toolbar's buttons.
    EXPECT_GT(count(shot, Rect{0, 557, 780, shot.height()}, kBadgeBox), 10000);
}

TEST_F(OnScreen, TheWindowHasTheProgramsIcon) {
    const std::vector<std::uint32_t> icon = desktop().icon();
    ASSERT_EQ(icon.size(), 2u + 48 * 48);
    EXPECT_EQ(icon[0], 48u);
    EXPECT_EQ(icon[1], 48u);
    const Framebuffer png =
        kv::image::read_png(KORVELINE_SOURCE_DIR "/data/icons/korveline-48.png");
    // The middle of the icon is opaque and shows the PNG's colours.
    for (int y = 12; y < 36; ++y)
        for (int x = 12; x < 36; ++x) {
            const std::uint32_t argb = icon[2 + y * 48 + x];
            ASSERT_EQ(argb >> 24, 0xFFu) << x << "," << y;
            const auto channel = [&](int shift) {
                return static_cast<std::uint8_t>(argb >> shift);
            };
            ASSERT_EQ(rgb(channel(16), channel(8), channel(0)), png.get(x, y)) << x << "," << y;
        }
    // Its rounded corners are see-through.
    EXPECT_EQ(icon[2] >> 24, 0u);
}

TEST_F(OnScreen, ALeftClickOnAlimTurnsItsLabelFromRedToGreen) {
    desktop().click(kAlimX, kAlimY);
    ASSERT_TRUE(kvtest::eventually(
        desktop(), [](const Framebuffer& fb) { return count(fb, kAlimBox, kGreen) > 20; }));
    EXPECT_EQ(count(desktop().screenshot(), kAlimBox, kRed), 0);
    // A right click turns it off again.
    desktop().click(kAlimX, kAlimY, 3);
    EXPECT_TRUE(kvtest::eventually(desktop(), [](const Framebuffer& fb) {
        return count(fb, kAlimBox, kRed) > 20 && count(fb, kAlimBox, kGreen) == 0;
    }));
}

TEST_F(OnScreen, AClickOnTheBrakeDrawsTheBrakeLineAcrossThePlot) {
    const Rect row176{kPlot.left, 176, kPlot.right, 177};
    EXPECT_EQ(count(desktop().screenshot(), row176, kBlack), 0);
    desktop().click(kBrakeX, kBrakeY);
    EXPECT_TRUE(kvtest::eventually(desktop(), [&](const Framebuffer& fb) {
        return count(fb, row176, kBlack) == row176.width();
    }));
}

TEST_F(OnScreen, TheLeftCoilsFieldArrowsAppearInTheDiscOnceTheSupplyIsOn) {
    ASSERT_NO_FATAL_FAILURE(supply_on());
    EXPECT_EQ(count_in_disc(desktop().screenshot(), kBlue), 0);
    desktop().click(kLeftCoilX, kLeftCoilY);
    EXPECT_TRUE(kvtest::eventually(
        desktop(), [](const Framebuffer& fb) { return count_in_disc(fb, kBlue) > 10; }));
}

TEST_F(OnScreen, AClickOnTheRotorShowsTheResultantField) {
    ASSERT_NO_FATAL_FAILURE(supply_on());
    EXPECT_EQ(count_in_disc(desktop().screenshot(), kBlack), 0);
    desktop().click(kRotorX, kRotorY);
    EXPECT_TRUE(kvtest::eventually(
        desktop(), [](const Framebuffer& fb) { return count_in_disc(fb, kBlack) > 10; }));
}

TEST_F(OnScreen, ResetClearsTheTrailOfTheOperatingPoint) {
    ASSERT_NO_FATAL_FAILURE(supply_on());
    ASSERT_TRUE(kvtest::eventually(
        desktop(), [](const Framebuffer& fb) { return count(fb, kPlot, kDarkYellow) > 30; }));
    desktop().key("space"); // no new trail while we look
    desktop().click(kResetX, kResetY);
    EXPECT_TRUE(kvtest::eventually(
        desktop(), [](const Framebuffer& fb) { return count(fb, kPlot, kDarkYellow) == 0; }));
}

TEST_F(OnScreen, SpaceFreezesTheMotorAndRightArrowMovesItOneTick) {
    ASSERT_NO_FATAL_FAILURE(supply_on());
    desktop().click(kRotorX, kRotorY);
    desktop().key("space");
    ASSERT_TRUE(kvtest::eventually(
        desktop(), [](const Framebuffer& fb) { return count(fb, kBadgeCorner, kBadgeBox) > 100; }));
    const Framebuffer a = desktop().screenshot();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const Framebuffer b = desktop().screenshot();
    EXPECT_TRUE(same_disc(a, b)) << "the disc moved while paused";

    desktop().key("Right");
    EXPECT_TRUE(
        kvtest::eventually(desktop(), [&](const Framebuffer& fb) { return !same_disc(b, fb); }));
    // One Tick only: it stands still again.
    const Framebuffer c = desktop().screenshot();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(same_disc(c, desktop().screenshot()));

    desktop().key("space");
    EXPECT_TRUE(kvtest::eventually(desktop(), [&](const Framebuffer& fb) {
        return !same_disc(c, fb) && count(fb, kBadgeCorner, kBadgeBox) == 0;
    }));
}

TEST_F(OnScreen, SlowMotionShowsItsBadgeUntilFullSpeedAgain) {
    desktop().key("minus");
    ASSERT_TRUE(kvtest::eventually(
        desktop(), [](const Framebuffer& fb) { return count(fb, kBadgeCorner, kBadgeBox) > 100; }));
    desktop().key("minus");
    desktop().key("plus");
    desktop().key("plus");
    EXPECT_TRUE(kvtest::eventually(
        desktop(), [](const Framebuffer& fb) { return count(fb, kBadgeCorner, kBadgeBox) == 0; }));
}

// The list of keys beside the picture, which it covers nowhere; Escape takes it away, and the
// window is as it was.
TEST_F(OnScreen, F1ShowsTheKeysBesideThePictureAndEscapeTakesThemAway) {
    const Framebuffer before = desktop().screenshot();
    ASSERT_EQ(before.width(), 780);
    const auto picture_as_before = [&](const Framebuffer& fb) {
        for (int y = 0; y < 557; ++y)
            for (int x = 0; x < 780; ++x)
                if (fb.get(x, y) != before.get(x, y)) return false;
        return true;
    };
    desktop().key("F1");
    ASSERT_TRUE(kvtest::eventually(desktop(), [&](const Framebuffer& fb) {
        return count(fb, Rect{780, 0, fb.width(), fb.height()}, kBadgeBox) > 20000 &&
               picture_as_before(fb);
    })) << desktop().geometry();
    desktop().key("Escape");
    ASSERT_TRUE(kvtest::eventually(desktop(), [&](const Framebuffer& fb) {
        return fb.width() == 780 && std::ranges::equal(fb.pixels(), before.pixels());
    }));
    EXPECT_EQ(desktop().geometry(), window_geometry(1));
}

// L and A: the next language and the next look, while the run goes on: the window's texts change
// and come back, the plot keeps its trail, and the background takes the colour-vision look's
// colour, then, after the projector's, the original's again.
TEST_F(OnScreen, LAndAChangeTheLanguageAndTheLookAndTheRunGoesOn) {
    const Rect instructions{450, 375, 780, 545}, background{100, 60, 250, 120};
    const std::int64_t all = background.width() * background.height();
    const auto texts = [&](const Framebuffer& fb) {
        std::vector<Color> pixels;
        for (std::int64_t y = instructions.top; y < instructions.bottom; ++y)
            for (std::int64_t x = instructions.left; x < instructions.right; ++x)
                pixels.push_back(fb.get(x, y));
        return pixels;
    };
    ASSERT_NO_FATAL_FAILURE(supply_on());
    ASSERT_TRUE(kvtest::eventually(
        desktop(), [](const Framebuffer& fb) { return count(fb, kPlot, kDarkYellow) > 30; }));
    const std::vector<Color> french = texts(desktop().screenshot());
    desktop().key("l");
    EXPECT_TRUE(kvtest::eventually(desktop(), [&](const Framebuffer& fb) {
        return texts(fb) != french && count(fb, kPlot, kDarkYellow) > 30;
    }));
    desktop().key("l");
    EXPECT_TRUE(
        kvtest::eventually(desktop(), [&](const Framebuffer& fb) { return texts(fb) == french; }));

    EXPECT_EQ(count(desktop().screenshot(), background, kBackground), all);
    desktop().key("a");
    EXPECT_TRUE(kvtest::eventually(desktop(), [&](const Framebuffer& fb) {
        return count(fb, background, rgb(215, 245, 245)) == all &&
               count(fb, kAlimBox, kGreen) == 0; // the supply's "on" has the look's green
    }));
    desktop().key("a");
    desktop().key("a");
    EXPECT_TRUE(kvtest::eventually(desktop(), [&](const Framebuffer& fb) {
        return count(fb, background, kBackground) == all && count(fb, kAlimBox, kGreen) > 20 &&
               count(fb, kPlot, kDarkYellow) > 30;
    }));
}

TEST_F(OnScreen, ZoomStopsWhereTheWindowWouldOutgrowTheScreen) {
    // 1024 x 768 holds the picture at zoom 1 only.
    desktop().key("ctrl+plus");
    desktop().key("ctrl+plus");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(desktop().geometry(), window_geometry(1));
}

class OnALargeScreen : public OnScreen {
  protected:
    std::string screen() const override { return "1600x1300"; }
};

TEST_F(OnALargeScreen, CtrlPlusDoublesThePictureOnceAndClicksStillHitTheirRegion) {
    desktop().key("space"); // a still picture to compare
    desktop().xdotool("windowmove --sync " + desktop().window() + " 0 0");
    ASSERT_TRUE(kvtest::eventually(
        desktop(), [](const Framebuffer& fb) { return count(fb, kBadgeCorner, kBadgeBox) > 100; }));
    const Framebuffer one = desktop().screenshot();

    // Zoom 3 (2340 pixels wide) would not fit: the second press changes nothing. The picture
    // and its toolbar, twice as large.
    desktop().key("ctrl+plus");
    desktop().key("ctrl+plus");
    ASSERT_TRUE(kvtest::eventually(desktop(), [&](const Framebuffer& fb) {
        return desktop().geometry() == window_geometry(2) && fb.width() == 1560;
    })) << desktop().geometry();
    const Framebuffer two = desktop().screenshot();
    ASSERT_EQ(two.height(), 2 * one.height());
    for (int y = 0; y < two.height(); ++y)
        for (int x = 0; x < 1560; ++x)
            ASSERT_EQ(two.get(x, y), one.get(x / 2, y / 2)) << "at " << x << "," << y;

    desktop().click(2 * kAlimX, 2 * kAlimY);
    EXPECT_TRUE(kvtest::eventually(desktop(), [](const Framebuffer& fb) {
        return count(fb, Rect{0, 0, 100, 100}, kGreen) > 4 * 20;
    }));

    desktop().key("ctrl+0");
    EXPECT_TRUE(kvtest::eventually(
        desktop(), [&](const Framebuffer&) { return desktop().geometry() == window_geometry(1); }));
}

TEST_F(OnScreen, ClosingTheWindowEndsTheProgramWithExitCodeZero) {
    desktop().close();
    EXPECT_EQ(desktop().wait_exit(std::chrono::seconds(5)), 0);
    EXPECT_EQ(desktop().err(), "");
}

class OnScreenWithTickLog : public OnScreen {
  protected:
    std::vector<std::string> environment() const override {
        return {"KORVELINE_TICK_LOG=" + dir_ + "/ticks.log"};
    }
};

TEST_F(OnScreenWithTickLog, TheLogHasTheFirstFrameAndOneRisingTimeATick) {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    desktop().close();
    ASSERT_EQ(desktop().wait_exit(std::chrono::seconds(5)), 0);
    std::istringstream log(kvtest::read_file(dir_ + "/ticks.log"));
    std::string line;
    ASSERT_TRUE(std::getline(log, line));
    EXPECT_TRUE(line.starts_with("# first frame ")) << line;
    std::vector<long> ticks;
    while (std::getline(log, line)) {
        ASSERT_FALSE(line.empty());
        ASSERT_EQ(line.find_first_not_of("0123456789"), std::string::npos) << line;
        ticks.push_back(std::stol(line));
    }
    ASSERT_GE(ticks.size(), 2u);
    for (std::size_t i = 1; i < ticks.size(); ++i)
        EXPECT_GT(ticks[i], ticks[i - 1]);
}

// The user's pictures folder, as xdg-user-dir finds it, in the test's own directory.
class OnScreenWithAPicturesFolder : public OnScreen {
  protected:
    std::vector<std::string> environment() const override {
        const std::string config = dir_ + "/config";
        std::filesystem::create_directories(config);
        std::filesystem::create_directories(pictures());
        std::ofstream(config + "/user-dirs.dirs") << "XDG_PICTURES_DIR=\"" << pictures() << "\"\n";
        return {"XDG_CONFIG_HOME=" + config};
    }
    std::string pictures() const { return dir_ + "/pictures"; }
    // With everything shown, the window ends up showing the framebuffer exactly.
    void expect_the_window_shows_the_picture_exactly();

    // The one file of this extension in the pictures folder, once it is there.
    std::string saved(const std::string& extension) const {
        for (int i = 0; i < 100; ++i) {
            for (const auto& entry : std::filesystem::directory_iterator(pictures())) {
                const std::string name = entry.path().filename().string();
                if (entry.path().extension() == extension && name.starts_with("korveline-"))
                    return entry.path().string();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return "";
    }
};

TEST_F(OnScreenWithAPicturesFolder, CtrlRF12AndCtrlESaveTheRecordingPictureAndDataThere) {
    supply_on();
    desktop().key("i"); // the readout, which must stay out of every file
    desktop().key("ctrl+r");
    ASSERT_TRUE(kvtest::eventually(desktop(), [](const Framebuffer& fb) {
        return count(fb, kBadgeCorner, kBadgeBox) > 100;
    })) << "no REC badge";
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    desktop().key("space"); // paused: the last frame stays the picture
    desktop().key("ctrl+r");
    const std::string gif = saved(".gif");
    ASSERT_FALSE(gif.empty()) << "no recording in " << pictures();
    desktop().key("F12");
    const std::string png = saved(".png");
    ASSERT_FALSE(png.empty()) << "no picture in " << pictures();
    desktop().key("ctrl+e");
    const std::string csv = saved(".csv");
    ASSERT_FALSE(csv.empty()) << "no data in " << pictures();

    // On the screen: the badge, and the readout beside the picture. In the files: the picture
    // alone.
    const Framebuffer screen = desktop().screenshot();
    const Rect readout{780, 0, screen.width(), screen.height()};
    EXPECT_GT(count(screen, readout, kBadgeBox), 20000);
    const Framebuffer picture = kv::image::read_png(png);
    ASSERT_EQ(picture.width(), 780);
    ASSERT_EQ(picture.height(), 557);
    EXPECT_EQ(count(picture, picture.bounds(), kBadgeBox), 0);
    EXPECT_GT(count(picture, kAlimBox, kGreen), 20);

    // The recording: a frame a Tick at 5 cs, looping, its last frame the paused picture.
    const kvtest::Animation animation = kvtest::play_gif(gif);
    EXPECT_EQ(animation.width, 780);
    EXPECT_TRUE(animation.loops_forever);
    ASSERT_GE(animation.frames.size(), 5u);
    for (const kvtest::Frame& f : animation.frames)
        EXPECT_EQ(f.delay_cs, 5);
    EXPECT_TRUE(std::ranges::equal(animation.frames.back().picture, picture.pixels()));

    // The recording names the settings it was made with, as korveline-script's do.
    EXPECT_EQ(animation.comment,
              "KORVELINE, laboratory settings: order=direct open=none "
              "frequency=100 voltage=100 resistance=1 load=constant poles=1 plot=motor");

    // The data: the trace's header, then one row a Tick, every Tick so far; in the French window,
    // as French spreadsheets read it.
    std::ifstream rows(csv);
    std::string line;
    ASSERT_TRUE(std::getline(rows, line));
    EXPECT_EQ(line, "tick;time_s;phase_rad;theta_rad;omega_rad_per_tick;speed_over_sync;slip;"
                    "motor_torque;brake_torque;force1;force2;force3;current1;current2;current3;"
                    "flux1;flux2;flux3;sync_omega_rad_per_tick;load_torque;speed_rpm;"
                    "rotor_frequency_hz;air_gap_power;rotor_copper_losses;mechanical_power;"
                    "friction_power;order;open;frequency;voltage;resistance;load;poles;plot");
    long expected_tick = 2; // the first Tick runs before the timer starts
    while (std::getline(rows, line)) {
        EXPECT_EQ(std::count(line.begin(), line.end(), ';'), 33) << line;
        EXPECT_EQ(std::count(line.begin(), line.end(), '.'), 0) << line;
        EXPECT_TRUE(line.ends_with(";direct;none;100;100;1;constant;1;motor")) << line;
        EXPECT_EQ(std::stol(line), expected_tick++) << line;
    }
    EXPECT_GT(expected_tick, 2 + static_cast<long>(animation.frames.size()) - 1);
}

// Everything shown and a second of Ticks, then paused: the window shows the picture F12 saves (the
// framebuffer itself) pixel for pixel, below the band where the badges sit. The window sends again
// only what it finds changed within the boxes drawn each Tick: a change missed anywhere would stay
// on the screen.
void OnScreenWithAPicturesFolder::expect_the_window_shows_the_picture_exactly() {
    supply_on();
    Desktop& desktop = this->desktop();
    desktop.click(kRotorX, kRotorY); // resultant and forces
    desktop.click(80, 290);          // the left coil's field
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    desktop.key("space");
    desktop.key("F12");
    const std::string png = saved(".png");
    ASSERT_FALSE(png.empty()) << "no picture in " << pictures();
    const Framebuffer picture = kv::image::read_png(png);
    ASSERT_EQ(picture.width(), 780);
    ASSERT_EQ(picture.height(), 557);
    ASSERT_GT(count_in_disc(picture, kBlue), 0) << "the coil's field is not shown";
    constexpr int kBadgeBand = 40;
    int differing = 0;
    kvtest::eventually(desktop, [&](const Framebuffer& screen) {
        differing = 0;
        for (int y = kBadgeBand; y < 557; ++y)
            for (int x = 0; x < 780; ++x)
                differing += screen.get(x, y) != picture.get(x, y);
        return differing == 0;
    });
    EXPECT_EQ(differing, 0);
}

// The keyboard alone: Enter clicks the part the focus stands on (ALIM at first), Shift Enter
// right-clicks it, Tab moves the ring on; the ring is on the screen and in no saved picture.
TEST_F(OnScreenWithAPicturesFolder, EnterAndTabWorkThePictureWithARingThatNoPictureHolds) {
    constexpr Color kRingYellow = rgb(255, 210, 0);
    Desktop& desktop = this->desktop();
    desktop.key("Return");
    ASSERT_TRUE(kvtest::eventually(desktop, [](const Framebuffer& fb) {
        return count(fb, kAlimBox, kGreen) > 20;
    })) << "Enter did not switch the supply on";
    // ALIM's region ends at x = 49: the ring's dark band at 51, yellow at 52 and 53.
    EXPECT_EQ(desktop.screenshot().get(52, 25), kRingYellow);
    desktop.key("shift+Return");
    ASSERT_TRUE(kvtest::eventually(desktop, [](const Framebuffer& fb) {
        return count(fb, kAlimBox, kRed) > 20 && count(fb, kAlimBox, kGreen) == 0;
    })) << "Shift Enter did not switch the supply off";
    desktop.key("Return");
    desktop.key("Tab Tab Tab Tab"); // the left coil, the upper-right, the lower-right, the rotor
    desktop.key("Return");
    ASSERT_TRUE(kvtest::eventually(desktop, [](const Framebuffer& fb) {
        return count_in_disc(fb, kBlack) > 10;
    })) << "Enter on the rotor did not show the resultant and the forces";

    desktop.key("space");
    desktop.key("F12");
    const std::string png = saved(".png");
    ASSERT_FALSE(png.empty()) << "no picture in " << pictures();
    const Framebuffer picture = kv::image::read_png(png);
    ASSERT_EQ(picture.width(), 780);
    // The rotor's region is x 161 to 359, y 191 to 389: its ring lies 2 to 5 pixels outside.
    const Rect ring_outside{156, 186, 365, 395}, ring_inside{160, 190, 361, 391};
    int in_ring = 0, elsewhere = 0;
    kvtest::eventually(desktop, [&](const Framebuffer& screen) {
        in_ring = elsewhere = 0;
        for (int y = 40; y < 557; ++y) // below the badge
            for (int x = 0; x < 780; ++x) {
                if (screen.get(x, y) == picture.get(x, y)) continue;
                const bool ring = ring_outside.contains(x, y) && !ring_inside.contains(x, y);
                (ring ? in_ring : elsewhere) += 1;
            }
        return elsewhere == 0 && screen.get(157, 290) == kRingYellow;
    });
    EXPECT_EQ(elsewhere, 0) << "the window differs from the saved picture away from the ring";
    EXPECT_GT(in_ring, 1000) << "the ring is in the saved picture, or not on the screen";
    EXPECT_NE(picture.get(157, 290), kRingYellow);
}

// Drawn through an image shared with the server (Xvfb has MIT-SHM).
TEST_F(OnScreenWithAPicturesFolder, AfterTicksWithEverythingShownTheWindowShowsThePictureExactly) {
    expect_the_window_shows_the_picture_exactly();
}

// A server that shares no memory with us (a remote display): SDL's window surface does the drawing.
class OnScreenWithoutSharedMemory : public OnScreenWithAPicturesFolder {
  protected:
    std::vector<std::string> server_options() const override { return {"-extension", "MIT-SHM"}; }
};

TEST_F(OnScreenWithoutSharedMemory, AfterTicksWithEverythingShownTheWindowShowsThePictureExactly) {
    expect_the_window_shows_the_picture_exactly();
}

// Full screen on a 1920 x 1080 projector, where a whole zoom of 2 does not fit: the picture is
// scaled to the screen's height, whether a window manager acts on the request or not (then the
// program covers the screen itself), and a click lands where it points.
class OnAProjector : public OnScreen {
  protected:
    std::string screen() const override { return "1920x1080"; }

    // The screen's rows and columns that show anything but black, above row `bottom`.
    static Rect lit(const Framebuffer& screen, int bottom) {
        Rect r;
        for (int y = 0; y < std::min(bottom, screen.height()); ++y)
            for (int x = 0; x < screen.width(); ++x)
                if (screen.get(x, y) != kBlack) r = kv::bounding_union(r, Rect{x, y, x + 1, y + 1});
        return r;
    }
    static int greenish(const Framebuffer& screen, const Rect& area) {
        int n = 0;
        for (std::int64_t y = area.top; y < area.bottom; ++y)
            for (std::int64_t x = area.left; x < area.right; ++x) {
                const Color c = screen.get(x, y);
                n += kv::green_of(c) > 200 && kv::red_of(c) < 80 && kv::blue_of(c) < 80;
            }
        return n;
    }

    // Keys go to the window: a window manager gives it the focus in its own time.
    virtual void wait_for_the_focus() {}

    void expect_the_picture_fills_the_screen_and_takes_clicks() {
        ASSERT_NO_FATAL_FAILURE(wait_for_the_focus());
        desktop().key("F11");
        // 780 x 557 scaled to the height the toolbar under it leaves (1048 / 557), in the middle.
        // A window manager resizes in steps, and a screenshot taken between two of them may show a
        // frame of the old size beside the new one: wait for the last one.
        kv::desktop::Beside beside;
        for (const kv::viewer::ToolbarButton& b : toolbar())
            beside.buttons.push_back(b.width);
        const kv::desktop::Arrangement a = kv::desktop::arrange(
            kv::viewer::Size{1920, 1080}, kv::viewer::Size{780, 557}, {1, true}, beside);
        const Rect scaled = a.picture.picture();
        ASSERT_EQ(scaled.height(), 1080 - a.toolbar.height());
        ASSERT_GT(scaled.width(), 1400);
        Rect picture;
        const bool filled = kvtest::eventually(
            desktop(),
            [&](const Framebuffer&) {
                const Framebuffer screen = x_screen();
                picture = lit(screen, static_cast<int>(a.toolbar.top));
                return picture == scaled && count(screen, a.toolbar, kBadgeBox) > 10000;
            },
            std::chrono::seconds(5));
        ASSERT_TRUE(filled) << "the picture covers " << picture.left << "," << picture.top << " to "
                            << picture.right << "," << picture.bottom;
        // ALIM, at client (25, 25).
        const Rect alim = kv::viewer::window_rect(a.picture, kAlimBox);
        EXPECT_EQ(greenish(x_screen(), alim), 0);
        const Rect at =
            kv::viewer::window_rect(a.picture, Rect{kAlimX, kAlimY, kAlimX + 1, kAlimY + 1});
        desktop().xdotool("mousemove " + std::to_string(at.left) + " " + std::to_string(at.top) +
                          " click 1");
        int green = 0;
        EXPECT_TRUE(kvtest::eventually(
            desktop(),
            [&](const Framebuffer&) {
                green = greenish(x_screen(), alim);
                return green > 40;
            },
            std::chrono::seconds(5)))
            << green;
        // F11 again: the window as it was.
        desktop().key("F11");
        EXPECT_TRUE(kvtest::eventually(desktop(), [&](const Framebuffer& fb) {
            return desktop().geometry() == window_geometry(1) && fb.width() == 780;
        })) << desktop().geometry();
    }

    // The whole screen, as the projector shows it.
    Framebuffer x_screen() const {
        const std::string path = dir_ + "/screen.png";
        kvtest::shell("timeout -k 1 10 import -display " + x_->display() + " -window root png:'" +
                      path + "' >/dev/null 2>&1");
        return kv::image::read_png(path);
    }
};

TEST_F(OnAProjector, FullScreenWithoutAWindowManagerFillsTheScreenAndTakesClicks) {
    expect_the_picture_fills_the_screen_and_takes_clicks();
}

class OnAProjectorWithAWindowManager : public OnAProjector {
  protected:
    void before_the_program() override {
        if (!kvtest::installed("openbox")) GTEST_SKIP() << "openbox is not installed";
        wm_ =
            std::make_unique<kvtest::Process>(std::vector<std::string>{"openbox", "--sm-disable"},
                                              std::vector<std::string>{"DISPLAY=" + x_->display()},
                                              dir_ + "/wm.out", dir_ + "/wm.err");
        // It says it runs on the root window once it manages windows.
        for (int i = 0; i < 100; ++i) {
            if (kvtest::shell("xprop -display " + x_->display() + " -root _NET_SUPPORTING_WM_CHECK")
                    .out.find("window id") != std::string::npos)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        FAIL() << "openbox did not start: " << kvtest::read_file(dir_ + "/wm.err");
    }
    void wait_for_the_focus() override {
        desktop().xdotool("windowactivate --sync " + desktop().window());
        for (int i = 0; i < 100; ++i) {
            if (desktop().xdotool("getwindowfocus") == desktop().window()) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        FAIL() << "the window never got the focus";
    }
    std::unique_ptr<kvtest::Process> wm_;
};

TEST_F(OnAProjectorWithAWindowManager, FullScreenFillsTheScreenAndTakesClicks) {
    expect_the_picture_fills_the_screen_and_takes_clicks();
}

// The viewer's boxes with a moving picture: with a box shown, Ticks run, then the picture is
// paused and saved (Ctrl S). The window must show that picture pixel for pixel, with the badge
// over it and the readout or the list of keys beside it: a change missed under the badge, or a box
// over the picture, would show. Then a box goes away, and the window must be as before. The
// readout brings the plot's scales over the picture, and the steady curve (key C) its curve, both
// scaled with it.
enum class Box { Readout, Help, Pause, Speed, Recording, Message, SteadyCurve };
struct BoxCase {
    Box box;
    int zoom;
};

class OverlaysOverTicks : public OnScreenWithAPicturesFolder,
                          public ::testing::WithParamInterface<BoxCase> {
  protected:
    // Room for the readout or the list of keys beside the picture.
    std::string screen() const override { return GetParam().zoom == 2 ? "2560x1440" : "1366x768"; }

    // The badge, in client pixels, with the image drawn there.
    struct Placed {
        Framebuffer image;
        Rect place;
    };
    static Placed badge(const std::string& text) {
        Framebuffer image = kv::viewer::render_badge(text);
        const Rect place = kv::viewer::badge_place(780, image.width(), image.height());
        return {std::move(image), place};
    }
    // The viewer's box beside the picture.
    bool box_beside(const Framebuffer& screen) const {
        const int z = GetParam().zoom;
        return count(screen, Rect{780 * z, 0, screen.width(), screen.height()}, kBadgeBox) >
               20000 * z * z;
    }

    // What the viewer lays over the plot with the readout or the steady curve, for the program's
    // settings (the original ones), its brake (0) and its language (French).
    static kv::viewer::Layer plot_layer(Box box) {
        kv::tools::LayerPen pen(kv::tools::PlotLayerPlace(780));
        if (box == Box::Readout) kv::tools::DrawPlotScales({tagLabo(), 0, true, 780}, pen);
        if (box == Box::SteadyCurve)
            kv::tools::DrawSteadyCurve(MesureCaracteristique(tagLabo()), tagLabo(), true, pen);
        return pen.take();
    }

    // The picture zoomed, with the layer and the badge over it, against the window's; the pixels
    // that differ.
    int differing(const Framebuffer& picture, const std::vector<Placed>& boxes,
                  const Framebuffer& screen) const {
        const int z = GetParam().zoom;
        if (screen.width() < 780 * z || screen.height() < 557 * z) return -1;
        int n = 0;
        for (int y = 0; y < 557 * z; ++y)
            for (int x = 0; x < 780 * z; ++x) {
                Color want = layer_.over(x / z, y / z, picture.get(x / z, y / z));
                for (const Placed& b : boxes) {
                    if (b.place.contains(x / z, y / z))
                        want = b.image.get(x / z - b.place.left, y / z - b.place.top);
                }
                n += screen.get(x, y) != want;
            }
        return n;
    }
    // `boxes` starts with the badge that names the saved picture. That message shows for 4 s
    // from Ctrl S; on a slow machine the check may outlast it, and from then on the badge is the
    // pause's again, as it must be.
    // `beside`: whether a box lies beside the picture, or the window is the picture's width.
    void expect_screen(const Framebuffer& picture, const std::vector<Placed>& boxes, bool beside,
                       const std::string& when) {
        std::vector<Placed> after_message = boxes;
        after_message.front() = badge(GetParam().box == Box::Recording ? "REC  PAUSE" : "PAUSE");
        int n = 0;
        bool side = false;
        kvtest::eventually(desktop(), [&](const Framebuffer& screen) {
            n = differing(picture, boxes, screen);
            if (n != 0 && std::chrono::steady_clock::now() >= saved_at_ + kMessageShown)
                n = differing(picture, after_message, screen);
            side = beside ? box_beside(screen) : screen.width() == 780 * GetParam().zoom;
            return n == 0 && side;
        });
        EXPECT_EQ(n, 0) << when;
        EXPECT_TRUE(side) << when << (beside ? ": no box beside the picture" : ": a box beside it");
    }

    static constexpr std::chrono::milliseconds kMessageShown{4000};
    std::chrono::steady_clock::time_point saved_at_; // just before Ctrl S

    kv::viewer::Layer layer_; // over the picture
};

TEST_P(OverlaysOverTicks, TheWindowShowsThePictureWithItsBoxesBesideAndNothingWhenTheyGo) {
    const BoxCase c = GetParam();
    supply_on();
    Desktop& d = desktop();
    d.click(kRotorX, kRotorY); // resultant and forces
    d.click(80, 290);          // the left coil's field
    if (c.zoom == 2) {
        d.xdotool("windowmove --sync " + d.window() + " 0 0"); // the whole window on the screen
        d.key("ctrl+plus");
        ASSERT_TRUE(kvtest::eventually(d, [&](const Framebuffer& fb) {
            return d.geometry() == window_geometry(2) && fb.width() == 1560;
        })) << d.geometry();
    }
    const char* keys[] = {"i", "F1", "space", "plus", "ctrl+r", "ctrl+e", "c"};
    d.key(keys[static_cast<int>(c.box)]);
    if (c.box == Box::Pause) {
        for (int i = 0; i < 10; ++i)
            d.key("Right");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    if (c.box != Box::Pause) d.key("space");
    saved_at_ = std::chrono::steady_clock::now();
    d.key("ctrl+s");
    const std::string png = saved(".png");
    ASSERT_FALSE(png.empty()) << "no picture in " << pictures();
    const Framebuffer picture = kv::image::read_png(png);
    ASSERT_EQ(picture.width(), 780);

    std::vector<Placed> boxes{badge("Enregistr\xe9 : " + png)}; // ISO 8859-1, as boxes are
    layer_ = plot_layer(c.box);
    ASSERT_EQ(picture.get(600, 100), kv::rgb(255, 255, 255)) << "the plot's white, with no layer";
    const bool beside = c.box == Box::Readout || c.box == Box::Help;
    expect_screen(picture, boxes, beside, "with the boxes");

    // The box goes: the readout, the help and the curve at their keys, the message once its time
    // is up; and the layer with the readout and the curve.
    if (beside || c.box == Box::SteadyCurve) {
        d.key(c.box == Box::Readout ? "i" : c.box == Box::Help ? "Escape" : "c");
        layer_ = {};
        expect_screen(picture, boxes, false, "once the box is gone");
        return;
    }
    boxes = {badge(c.box == Box::Recording ? "REC  PAUSE" : "PAUSE")};
    int n = 0;
    kvtest::eventually(
        d,
        [&](const Framebuffer& screen) {
            n = differing(picture, boxes, screen);
            return n == 0;
        },
        std::chrono::seconds(8));
    EXPECT_EQ(n, 0) << "once the message is gone";
}

std::string box_case_name(const ::testing::TestParamInfo<BoxCase>& param) {
    static const std::array<const char*, 7> names{"Readout",   "Help",    "Pause",      "Speed",
                                                  "Recording", "Message", "SteadyCurve"};
    return std::string(names[static_cast<std::size_t>(param.param.box)]) + "AtZoom" +
           std::to_string(param.param.zoom);
}

INSTANTIATE_TEST_SUITE_P(AtZoomOneAndTwo, OverlaysOverTicks,
                         ::testing::Values(BoxCase{Box::Readout, 1}, BoxCase{Box::Help, 1},
                                           BoxCase{Box::Pause, 1}, BoxCase{Box::Speed, 1},
                                           BoxCase{Box::Recording, 1}, BoxCase{Box::Message, 1},
                                           BoxCase{Box::SteadyCurve, 1}, BoxCase{Box::Readout, 2},
                                           BoxCase{Box::Help, 2}, BoxCase{Box::Pause, 2},
                                           BoxCase{Box::Speed, 2}, BoxCase{Box::Recording, 2},
                                           BoxCase{Box::Message, 2}, BoxCase{Box::SteadyCurve, 2}),
                         box_case_name);

} // namespace
