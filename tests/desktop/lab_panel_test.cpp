// The laboratory panel in the desktop window, on a private Xvfb: F2 shows the settings beside the
// picture, its keys and the mouse change them in the running model, and no saved file holds the
// panel. The window's data is in French by default and reads back to the same numbers as in
// English. The toolbar takes the mouse too.
#include "backends/desktop/arrangement.h"
#include "desktop/desktop_session.h"
#include "image/png_reader.h"
#include "support/lines.h"
#include "tools/instruments/action_table.h"
#include "viewer/toolbar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

namespace {

using kv::Color;
using kv::Framebuffer;
using kv::Rect;
using kv::rgb;

constexpr Color kBoxColour = rgb(48, 48, 48); // the viewer's boxes
constexpr Color kGreen = rgb(0, 255, 0);      // ALIM's label with the supply on
constexpr Rect kAlimBox{0, 0, 50, 50};
constexpr Rect kInstructions{440, 360, 780, 557}; // where the panel once lay over the picture
constexpr Color kBoxText = rgb(240, 240, 240);
constexpr Rect kBadgeCorner{680, 0, 780, 40};

// Beside the picture: where the window's boxes lie.
Rect beside(const Framebuffer& fb) {
    return Rect{780, 0, fb.width(), fb.height()};
}

int count(const Framebuffer& fb, const Rect& area, Color c) {
    int n = 0;
    for (std::int64_t y = area.top; y < area.bottom; ++y)
        for (std::int64_t x = area.left; x < area.right; ++x)
            n += fb.get(x, y) == c;
    return n;
}

using kvtest::cells_of;
using kvtest::lines_of;

class LabPanel : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* tool : {"Xvfb", "xdotool", "import"}) {
            if (!kvtest::installed(tool)) GTEST_SKIP() << tool << " is not installed";
        }
        dir_ = kvtest::scratch_dir();
        const std::string config = dir_ + "/config";
        std::filesystem::create_directories(config);
        std::filesystem::create_directories(pictures());
        std::ofstream(config + "/user-dirs.dirs") << "XDG_PICTURES_DIR=\"" << pictures() << "\"\n";
        // Room for the panel beside the picture.
        x_ = std::make_unique<kvtest::XServer>(dir_, "1366x768");
        ASSERT_TRUE(x_->ok()) << "Xvfb did not start: " << x_->failure();
        desktop_ = std::make_unique<kvtest::Desktop>(
            *x_, dir_, std::vector<std::string>{"XDG_CONFIG_HOME=" + config});
        ASSERT_TRUE(desktop_->ok()) << "no KORVELINE window; korveline said: " << desktop_->err();
        desktop_->xdotool("windowmove --sync " + desktop_->window() + " 0 0");
    }

    std::string pictures() const { return dir_ + "/pictures"; }

    // The files of this extension in the pictures folder, once there are `n` of them, oldest
    // first (the names hold the time, and a second one of the same second gets "-2").
    std::vector<std::string> saved(const std::string& extension, std::size_t n) const {
        std::vector<std::string> files;
        for (int i = 0; i < 100 && files.size() < n; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            files.clear();
            for (const auto& entry : std::filesystem::directory_iterator(pictures())) {
                if (entry.path().extension() == extension) files.push_back(entry.path().string());
            }
        }
        std::sort(files.begin(), files.end(), [](const std::string& a, const std::string& b) {
            return a.size() != b.size() ? a.size() < b.size() : a < b;
        });
        return files;
    }

    std::string dir_;
    std::unique_ptr<kvtest::XServer> x_;
    std::unique_ptr<kvtest::Desktop> desktop_;
};

TEST_F(LabPanel, ItsKeysReverseTheRunningMotorAndNoSavedFileHoldsIt) {
    kvtest::Desktop& d = *desktop_;
    EXPECT_EQ(count(d.screenshot(), kInstructions, kBoxColour), 0);
    d.key("F2");
    ASSERT_TRUE(kvtest::eventually(d, [](const Framebuffer& fb) {
        return count(fb, beside(fb), kBoxColour) > 20000 &&
               count(fb, kInstructions, kBoxColour) == 0;
    })) << "no panel beside the picture";
    // The first row is the phase order: Right makes it reversed (and is no step of the clock).
    d.key("Right");
    d.click(25, 25); // the supply on
    ASSERT_TRUE(kvtest::eventually(
        d, [](const Framebuffer& fb) { return count(fb, kAlimBox, kGreen) > 0; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(2000));
    d.key("space"); // paused: the two data files hold the same Ticks
    d.key("F12");
    d.key("ctrl+e");
    ASSERT_EQ(saved(".csv", 1).size(), 1u);
    d.key("l"); // English
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    d.key("ctrl+e");

    // On the screen the panel; in the picture saved, none of it.
    const Framebuffer shown = d.screenshot();
    EXPECT_GT(count(shown, beside(shown), kBoxColour), 20000);
    const std::vector<std::string> png = saved(".png", 1);
    ASSERT_EQ(png.size(), 1u) << "no picture in " << pictures();
    const Framebuffer picture = kv::image::read_png(png[0]);
    ASSERT_EQ(picture.width(), 780);
    EXPECT_EQ(count(picture, picture.bounds(), kBoxColour), 0);
    EXPECT_GT(count(picture, kAlimBox, kGreen), 20);

    // The data: French first, then English, the same Ticks.
    const std::vector<std::string> csv = saved(".csv", 2);
    ASSERT_EQ(csv.size(), 2u) << "two data files expected in " << pictures();
    const std::vector<std::string> french = lines_of(csv[0]);
    const std::vector<std::string> plain = lines_of(csv[1]);
    ASSERT_GT(plain.size(), 10u);
    ASSERT_EQ(french.size(), plain.size());
    ASSERT_EQ(cells_of(french[0], ';'), cells_of(plain[0], ','));
    const std::vector<std::string> header = cells_of(plain[0], ',');
    const auto column = [&](const char* name) {
        return static_cast<std::size_t>(std::find(header.begin(), header.end(), name) -
                                        header.begin());
    };
    std::vector<std::string> orders; // the phase order, each time it changed
    for (std::size_t r = 1; r < plain.size(); ++r) {
        const std::vector<std::string> p = cells_of(plain[r], ',');
        const std::vector<std::string> f = cells_of(french[r], ';');
        ASSERT_EQ(p.size(), header.size()) << plain[r];
        ASSERT_EQ(f.size(), p.size()) << french[r];
        // The run went on from direct to reversed at the key, and never back.
        if (orders.empty() || orders.back() != p[column("order")])
            orders.push_back(p[column("order")]);
        for (std::size_t c = 0; c < p.size(); ++c) {
            std::string as_read = f[c];
            std::replace(as_read.begin(), as_read.end(), ',', '.');
            char* end = nullptr;
            const double w = std::strtod(as_read.c_str(), &end);
            if (*end != '\0') {
                EXPECT_EQ(f[c], p[c]) << "a word stays a word";
                continue;
            }
            const double v = std::strtod(p[c].c_str(), nullptr);
            EXPECT_NEAR(w, v, 1e-14 * std::fabs(v)) << p[c] << " vs " << f[c];
        }
    }
    EXPECT_EQ(orders, (std::vector<std::string>{"direct", "reversed"}));
    // The original motor's field and rotor turn towards negative angles; these the other way.
    const std::vector<std::string> last = cells_of(plain.back(), ',');
    const auto value = [&](const char* name) {
        return std::strtod(last[column(name)].c_str(), nullptr);
    };
    EXPECT_GT(value("sync_omega_rad_per_tick"), 0) << plain.back();
    EXPECT_GT(value("omega_rad_per_tick"), 0) << plain.back();
    EXPECT_GT(value("speed_over_sync"), 0.001) << plain.back();

    // Escape closes the panel and leaves the run paused.
    d.key("Escape");
    EXPECT_TRUE(kvtest::eventually(d, [](const Framebuffer& fb) {
        return fb.width() == 780 && count(fb, kBadgeCorner, kBoxColour) > 100;
    }));
}

// The mouse alone: the toolbar's Laboratoire opens the panel, a click on the ">" of its first row
// reverses the phase order of the running motor, the toolbar's Pause pauses it (its badge) and
// its CSV saves the data, whose settings columns say so.
TEST_F(LabPanel, TheMouseWorksTheToolbarAndThePanelsRows) {
    kvtest::Desktop& d = *desktop_;
    const std::vector<kv::viewer::ToolbarButton> buttons =
        kv::viewer::toolbar_buttons(kv::tools::ActionTable(), kv::viewer::Lang::Fr, {});
    kv::desktop::Beside widths;
    for (const kv::viewer::ToolbarButton& b : buttons)
        widths.buttons.push_back(b.width);
    const kv::viewer::Size client{780, 557};
    const kv::desktop::Arrangement a = kv::desktop::arrange(
        kv::desktop::window_size(client, 1, widths), client, kv::desktop::Fit{1, false}, widths);
    const auto click_button = [&](kv::viewer::Action action) {
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            if (buttons[i].action != action) continue;
            const Rect& r = a.buttons[i];
            d.click(static_cast<int>(r.left + r.right) / 2, static_cast<int>(r.top + r.bottom) / 2);
            return;
        }
        ADD_FAILURE() << "no such button";
    };

    click_button(kv::viewer::Action::TogglePanel);
    Framebuffer panel;
    ASSERT_TRUE(kvtest::eventually(d, [&](const Framebuffer& fb) {
        panel = fb;
        return count(fb, beside(fb), kBoxColour) > 20000;
    })) << "no panel beside the picture";
    // The panel's box, the first beside the picture: its top-left corner, and its first row (under
    // the title), whose last letter on the right is its ">".
    Rect box{-1, -1, -1, -1};
    for (int y = 0; y < 40 && box.top < 0; ++y)
        for (int x = 780; x < panel.width() && box.top < 0; ++x)
            if (panel.get(x, y) == kBoxColour) box = Rect{x, y, x, y};
    ASSERT_GE(box.top, 0);
    while (panel.get(box.right, box.top + 1) == kBoxColour)
        ++box.right;
    const int top = static_cast<int>(box.top) + 4 + 16; // the padding, the title
    int right = -1;
    for (int y = top; y < top + 16; ++y)
        for (int x = static_cast<int>(box.left); x < box.right; ++x)
            if (panel.get(x, y) == kBoxText) right = std::max(right, x);
    ASSERT_GT(right, box.left + 100) << "no > on the panel's first row";
    d.click(right - 1, top + 8);

    d.click(25, 25); // the supply on
    ASSERT_TRUE(kvtest::eventually(
        d, [](const Framebuffer& fb) { return count(fb, kAlimBox, kGreen) > 0; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    click_button(kv::viewer::Action::TogglePause);
    ASSERT_TRUE(kvtest::eventually(d, [](const Framebuffer& fb) {
        return count(fb, kBadgeCorner, kBoxColour) > 100;
    })) << "no PAUSE badge";
    click_button(kv::viewer::Action::SaveData);
    const std::vector<std::string> csv = saved(".csv", 1);
    ASSERT_EQ(csv.size(), 1u) << "no data in " << pictures();
    const std::vector<std::string> rows = lines_of(csv[0]);
    ASSERT_GT(rows.size(), 10u);
    const std::vector<std::string> header = cells_of(rows[0], ';');
    const auto order =
        static_cast<std::size_t>(std::find(header.begin(), header.end(), "order") - header.begin());
    ASSERT_LT(order, header.size());
    EXPECT_EQ(cells_of(rows.back(), ';')[order], "reversed") << rows.back();
    // The saved picture and the pause: the motor turns the other way.
    const std::vector<std::string> last = cells_of(rows.back(), ';');
    const auto value = [&](const char* name) {
        std::string cell = last[static_cast<std::size_t>(
            std::find(header.begin(), header.end(), name) - header.begin())];
        std::replace(cell.begin(), cell.end(), ',', '.');
        return std::strtod(cell.c_str(), nullptr);
    };
    EXPECT_GT(value("sync_omega_rad_per_tick"), 0) << rows.back();
}

} // namespace
