// The readout and the laboratory panel cover nothing of the picture, on a real X server: with
// both shown, at zoom 1 on a 1366 x 768 screen, at zoom 2, and in full screen on a 1920 x 1080
// projector, the window's picture is korveline-script's snapshot of the same run (the supply
// off: nothing moves), with the plot's scales the readout brings over it, pixel for pixel; the
// boxes lie beside it.
#include "backends/desktop/presenter.h"
#include "desktop/desktop_session.h"
#include "image/png_reader.h"
#include "tools/instruments/action_table.h"
#include "tools/instruments/plot_scales.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using kv::Color;
using kv::Framebuffer;
using kv::Rect;
using kv::viewer::Size;

constexpr Size kClient{780, 557};
constexpr Color kBoxColour = kv::rgb(48, 48, 48);

struct Case {
    const char* name;
    const char* screen;
    int zoom; // 0: full screen
};

int count(const Framebuffer& fb, const Rect& area, Color c) {
    int n = 0;
    for (std::int64_t y = area.top; y < area.bottom; ++y)
        for (std::int64_t x = area.left; x < area.right; ++x)
            n += fb.get(x, y) == c;
    return n;
}

// korveline-script's picture after its first Tick, with the readout's scales over the plot.
Framebuffer expected_picture(const std::string& dir) {
    const std::string path = dir + "/snapshot.png";
    const kvtest::ShellRun run =
        kvtest::shell("printf 'tick\\nsnapshot %s\\n' '" + path +
                      "' | '" KORVELINE_SCRIPT_PROGRAM "' - >/dev/null 2>&1");
    EXPECT_EQ(run.status, 0);
    Framebuffer picture = kv::image::read_png(path);
    kv::tools::LayerPen pen(kv::tools::PlotLayerPlace(kClient.width));
    kv::tools::DrawPlotScales({tagLabo(), 0, true, kClient.width}, pen);
    const kv::viewer::Layer layer = pen.take();
    kv::viewer::lay_over(picture, layer, picture.bounds(), picture);
    return picture;
}

std::vector<int> toolbar_widths() {
    std::vector<int> widths;
    for (const kv::viewer::ToolbarButton& b :
         kv::viewer::toolbar_buttons(kv::tools::ActionTable(), kv::viewer::Lang::Fr, {}))
        widths.push_back(b.width);
    return widths;
}

class NothingCovered : public ::testing::TestWithParam<Case> {
  protected:
    void SetUp() override {
        for (const char* tool : {"Xvfb", "xdotool", "import"}) {
            if (!kvtest::installed(tool)) GTEST_SKIP() << tool << " is not installed";
        }
        dir_ = kvtest::scratch_dir();
        x_ = std::make_unique<kvtest::XServer>(dir_, GetParam().screen);
        ASSERT_TRUE(x_->ok()) << "Xvfb did not start: " << x_->failure();
        desktop_ = std::make_unique<kvtest::Desktop>(*x_, dir_);
        ASSERT_TRUE(desktop_->ok()) << "no KORVELINE window; korveline said: " << desktop_->err();
        desktop_->xdotool("windowmove --sync " + desktop_->window() + " 0 0");
    }

    // The whole screen.
    Framebuffer screen() const {
        const std::string path = dir_ + "/screen.png";
        kvtest::shell("timeout -k 1 10 import -display " + x_->display() + " -window root png:'" +
                      path + "' >/dev/null 2>&1");
        return kv::image::read_png(path);
    }

    std::string dir_;
    std::unique_ptr<kvtest::XServer> x_;
    std::unique_ptr<kvtest::Desktop> desktop_;
};

TEST_P(NothingCovered, TheReadoutAndTheLabPanelLieBesideThePicture) {
    const Case c = GetParam();
    kvtest::Desktop& d = *desktop_;
    const Framebuffer picture = expected_picture(dir_);
    ASSERT_EQ(picture.width(), kClient.width);
    if (c.zoom == 2) d.key("ctrl+plus");
    if (c.zoom == 0) d.key("F11");
    d.key("i");
    d.key("F2");

    // Where the picture lies: at the window's zoom in its top-left corner; in full screen as
    // large as the screen holds it left of the boxes, whose column starts where the screen shows
    // it (their first one's top-left corner), and above the toolbar.
    const auto picture_layout = [&](const Framebuffer& shown) {
        const int z = std::max(c.zoom, 1);
        if (c.zoom != 0)
            return kv::viewer::corner_layout(Size{shown.width(), shown.height()}, kClient, z);
        std::int64_t x = shown.width() - 1;
        while (x > 0 && shown.get(x, 5) != kBoxColour)
            --x;
        while (x > 0 && shown.get(x - 1, 5) == kBoxColour)
            --x;
        const std::int64_t left = x - 4;
        const Size room{static_cast<int>(left), shown.height()};
        kv::viewer::ZoomLayout l = kv::desktop::arrange(room, kClient, {1, true},
                                                        kv::desktop::Beside{toolbar_widths(), {}})
                                       .picture;
        l.output = Size{shown.width(), shown.height()};
        return l;
    };
    int differing = -1, boxes = 0;
    kv::viewer::ZoomLayout layout;
    const bool shown = kvtest::eventually(
        d,
        [&](const Framebuffer& window) {
            const Framebuffer all = c.zoom == 0 ? screen() : window;
            layout = picture_layout(all);
            const Rect place = layout.picture();
            boxes = count(all, Rect{place.right, 0, all.width(), all.height()}, kBoxColour);
            std::vector<std::uint32_t> pixels(std::size_t(all.width()) * all.height());
            kv::desktop::PixelTarget target{reinterpret_cast<std::uint8_t*>(pixels.data()),
                                            std::int64_t{all.width()} * 4,
                                            all.width(),
                                            all.height(),
                                            {}};
            kv::desktop::Scaler(layout, kv::desktop::smoothing_for(layout))
                .draw(picture, place, target);
            differing = 0;
            for (std::int64_t y = place.top; y < place.bottom; ++y)
                for (std::int64_t x = place.left; x < place.right; ++x)
                    differing +=
                        all.get(x, y) !=
                        kv::desktop::target_pixel(target, static_cast<int>(x), static_cast<int>(y));
            return differing == 0 && boxes > 100000 * std::max(c.zoom, 1) * std::max(c.zoom, 1);
        },
        std::chrono::seconds(8));
    EXPECT_TRUE(shown) << differing << " pixels of the picture differ, " << boxes
                       << " of the boxes beside it";
    if (c.zoom == 0) {
        EXPECT_GT(layout.shown.height, 2 * 557 * 9 / 10) << "full screen: the picture as large";
    } else {
        EXPECT_EQ(layout.zoom(), c.zoom);
    }
}

INSTANTIATE_TEST_SUITE_P(AtZoomOneAndTwoAndInFullScreen, NothingCovered,
                         ::testing::Values(Case{"Zoom1", "1366x768", 1},
                                           Case{"Zoom2", "2560x1440", 2},
                                           Case{"FullScreen", "1920x1080", 0}),
                         [](const ::testing::TestParamInfo<Case>& param) {
                             return std::string(param.param.name);
                         });

} // namespace
