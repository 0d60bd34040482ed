// The toolbar and the viewer's boxes lie beside the picture, never over it: in a window at every
// zoom and in full screen, the picture's window pixels are the framebuffer's, each box and button
// is where the arrangement puts it, pixel for pixel, and the window is sized to hold them; a
// click lands on the picture, a button or a row of the laboratory panel.
#include "backends/desktop/presenter.h"
#include "tools/instruments/action_table.h"
#include "viewer/boxes.h"
#include "viewer/toolbar.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using kv::Color;
using kv::Framebuffer;
using kv::Rect;
using kv::rgb;
using kv::desktop::Arrangement;
using kv::desktop::Beside;
using kv::desktop::Fit;
using kv::desktop::Hit;
using kv::desktop::Presenter;
using kv::viewer::Box;
using kv::viewer::BoxRow;
using kv::viewer::Lang;
using kv::viewer::Size;
using kv::viewer::Slot;

constexpr Size kClient{780, 557};

// The program's toolbar, as the viewer gives it at start.
std::vector<kv::viewer::ToolbarButton> toolbar() {
    return kv::viewer::toolbar_buttons(kv::tools::ActionTable(), Lang::Fr, {});
}

Beside beside_with(const std::vector<Size>& boxes) {
    Beside beside;
    for (const kv::viewer::ToolbarButton& b : toolbar())
        beside.buttons.push_back(b.width);
    beside.boxes = boxes;
    return beside;
}

// Boxes of about the readout's and the laboratory panel's sizes.
Box rows_box(const std::string& title, int rows) {
    Box box{title, {}};
    for (int i = 0; i < rows; ++i)
        box.rows.push_back(
            {"Ligne " + std::to_string(i), "<  " + std::to_string(i * 10) + " %  >", {}});
    return box;
}

struct Pixels {
    Pixels(int w, int h)
        : colours(std::size_t(w) * h, 0x00ABABAB),
          target{reinterpret_cast<std::uint8_t*>(colours.data()), std::int64_t{w} * 4, w, h, {}} {}
    Color at(std::int64_t x, std::int64_t y) const {
        return kv::desktop::target_pixel(target, static_cast<int>(x), static_cast<int>(y));
    }
    std::vector<std::uint32_t> colours;
    kv::desktop::PixelTarget target;
};

Framebuffer pattern(int w, int h) {
    Framebuffer fb(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            fb.set(x, y, rgb(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 77));
    return fb;
}

bool disjoint(const std::vector<Rect>& rects) {
    for (std::size_t i = 0; i < rects.size(); ++i)
        for (std::size_t j = i + 1; j < rects.size(); ++j)
            if (!kv::intersect(rects[i], rects[j]).empty()) return false;
    return true;
}

// Every part within the window, none over another or over the picture.
void expect_apart(const Arrangement& a, Size window) {
    std::vector<Rect> parts = a.buttons;
    parts.insert(parts.end(), a.boxes.begin(), a.boxes.end());
    parts.push_back(a.picture.picture());
    EXPECT_TRUE(disjoint(parts));
    for (const Rect& r : parts)
        EXPECT_EQ(kv::intersect(r, Rect{0, 0, window.width, window.height}), r);
}

TEST(Arrangement, AWindowHoldsThePictureItsToolbarAndItsBoxesAtEveryZoom) {
    const Size readout{376, 360}, panel{296, 184};
    for (const std::vector<Size>& boxes :
         {std::vector<Size>{}, {readout}, {panel, readout}, {Size{480, 456}}}) {
        const Beside beside = beside_with(boxes);
        for (int zoom = 1; zoom <= 3; ++zoom) {
            SCOPED_TRACE(::testing::Message() << boxes.size() << " boxes at zoom " << zoom);
            const Size window = kv::desktop::window_size(kClient, zoom, beside);
            const Size one = kv::desktop::window_size(kClient, 1, beside);
            EXPECT_EQ(window, (Size{one.width * zoom, one.height * zoom}));
            EXPECT_EQ(kv::desktop::client_for_window(window, zoom, beside), kClient);
            const Arrangement a = kv::desktop::arrange(window, kClient, Fit{zoom, false}, beside);
            EXPECT_EQ(a.picture, kv::viewer::corner_layout(window, kClient, zoom));
            EXPECT_EQ(a.buttons.size(), beside.buttons.size());
            EXPECT_EQ(a.boxes.size(), boxes.size());
            expect_apart(a, window);
            // The toolbar under the picture, the boxes at its right.
            for (const Rect& b : a.buttons)
                EXPECT_GE(b.top, 557 * zoom);
            for (const Rect& b : a.boxes)
                EXPECT_GE(b.left, 780 * zoom);
        }
    }
    // On a screen of 1366 x 768, with a frame of 10 x 40 pixels, the window with the readout and
    // the laboratory panel fits at zoom 1.
    EXPECT_EQ(
        kv::viewer::window_zoom(1, Size{1366, 768},
                                kv::desktop::window_size(kClient, 1, beside_with({panel, readout})),
                                Size{10, 40}),
        1);
    const Size shown = kv::desktop::window_size(kClient, 1, beside_with({panel, readout}));
    EXPECT_LE(shown.width + 10, 1366);
    EXPECT_LE(shown.height + 40, 768);
}

TEST(Arrangement, AWindowsSizeGivesItsClientAreaLeavingOutPartialPixels) {
    struct Case {
        Size window;
        int zoom;
        Size client;
    };
    for (const Case& c : {Case{{780, 557}, 1, {780, 557}}, Case{{1560, 1114}, 2, {780, 557}},
                          Case{{1561, 1115}, 2, {780, 557}}, Case{{2340, 1671}, 3, {780, 557}},
                          Case{{3, 3}, 4, {0, 0}}, Case{{-5, 10}, 1, {0, 10}}}) {
        EXPECT_EQ(kv::desktop::client_for_window(c.window, c.zoom, Beside{}), c.client)
            << c.window.width << "x" << c.window.height << " at " << c.zoom;
    }
    // With a toolbar and a box: what they take is left out, the rest is the client area's.
    const Beside beside = beside_with({Size{300, 200}});
    const Size window = kv::desktop::window_size(kClient, 2, beside);
    EXPECT_EQ(kv::desktop::client_for_window(Size{window.width + 21, window.height + 9}, 2, beside),
              (Size{790, 561}));
}

TEST(Arrangement, FullScreenShrinksThePictureToLeaveTheBoxesRoom) {
    for (const Size screen : {Size{1920, 1080}, Size{1366, 768}, Size{3840, 2160}}) {
        SCOPED_TRACE(::testing::Message() << screen.width << "x" << screen.height);
        const Arrangement bare =
            kv::desktop::arrange(screen, kClient, Fit{1, true}, beside_with({}));
        const Arrangement boxed =
            kv::desktop::arrange(screen, kClient, Fit{1, true}, beside_with({{376, 360}}));
        expect_apart(bare, screen);
        expect_apart(boxed, screen);
        EXPECT_EQ(boxed.box_zoom, kv::viewer::zoom_to_fit(screen, kClient));
        // As large as what the toolbar and the boxes leave of the screen holds it, as a full
        // screen without them would be.
        for (const Arrangement* a : {&bare, &boxed}) {
            const Size room{static_cast<int>(a->side.empty() ? screen.width : a->side.left),
                            static_cast<int>(a->toolbar.top)};
            kv::viewer::ZoomLayout fitted = kv::viewer::fit_layout(room, kClient);
            fitted.output = screen;
            EXPECT_EQ(a->picture, fitted);
        }
        EXPECT_LT(boxed.picture.shown.width, bare.picture.shown.width + 1);
        EXPECT_GT(boxed.picture.shown.height, 557);
    }
}

// The presenter draws the arrangement: the picture untouched, each box and button pixel for
// pixel, black around them; the list of keys takes the side column alone while it shows; a box
// that goes leaves black behind.
TEST(Presenter, TheBoxesAndTheToolbarLieBesideThePictureAtEveryZoomAndInFullScreen) {
    const Framebuffer fb = pattern(kClient.width, kClient.height);
    const Box panel = rows_box("Laboratoire", 7), readout = rows_box("Mesures", 20);
    for (const Fit fit : {Fit{1, false}, Fit{2, false}, Fit{1, true}}) {
        SCOPED_TRACE(::testing::Message()
                     << "zoom " << fit.zoom << (fit.fullscreen ? " full" : ""));
        Presenter p;
        p.set_toolbar(toolbar());
        p.set_box(Slot::Readout, readout);
        p.set_box(Slot::Panel, panel);
        EXPECT_TRUE(p.take_resize());
        const Size window = fit.fullscreen ? Size{1920, 1080} : p.window_size(kClient, fit.zoom);
        EXPECT_TRUE(p.arrange(window, kClient, fit));
        EXPECT_FALSE(p.arrange(window, kClient, fit));
        Pixels w(window.width, window.height);
        p.draw_all(fb, w.target);

        const Arrangement& a = p.arrangement();
        ASSERT_EQ(a.boxes.size(), 2u);
        const int z = a.box_zoom;
        // The picture as the scaler draws it alone, black around it; the panel above the
        // readout; the buttons.
        Pixels picture(window.width, window.height);
        kv::desktop::Scaler(a.picture, kv::desktop::smoothing_for(a.picture))
            .draw(fb, a.picture.picture(), picture.target);
        Framebuffer want(window.width, window.height, 0);
        for (int y = 0; y < window.height; ++y)
            for (int x = 0; x < window.width; ++x)
                if (a.picture.picture().contains(x, y)) want.set(x, y, picture.at(x, y));
        const auto lay = [&](const Framebuffer& image, const Rect& at) {
            for (int y = 0; y < image.height() * z; ++y)
                for (int x = 0; x < image.width() * z; ++x)
                    want.set(at.left + x, at.top + y, image.get(x / z, y / z));
        };
        lay(kv::viewer::render_box(panel.title, panel.rows), a.boxes[0]);
        lay(kv::viewer::render_box(readout.title, readout.rows), a.boxes[1]);
        const std::vector<kv::viewer::ToolbarButton> buttons = toolbar();
        for (std::size_t i = 0; i < buttons.size(); ++i)
            lay(kv::viewer::render_button(buttons[i]), a.buttons[i]);
        int differing = 0;
        for (int y = 0; y < window.height; ++y)
            for (int x = 0; x < window.width; ++x)
                differing += w.at(x, y) != want.get(x, y);
        EXPECT_EQ(differing, 0);

        // The list of keys: alone beside the picture; the panel and the readout come back after.
        p.set_box(Slot::Help, rows_box("Touches", 22));
        EXPECT_TRUE(p.take_resize());
        p.arrange(fit.fullscreen ? window : p.window_size(kClient, fit.zoom), kClient, fit);
        ASSERT_EQ(p.arrangement().boxes.size(), 1u);
        p.set_box(Slot::Help, Box{});
        EXPECT_TRUE(p.take_resize());
        p.arrange(window, kClient, fit);
        EXPECT_EQ(p.arrangement(), a);
        // The readout goes: black where it was.
        const Rect readout_place = a.boxes[1];
        const Rect changed = p.set_box(Slot::Readout, Box{});
        EXPECT_EQ(kv::intersect(changed, readout_place), readout_place);
        std::vector<Rect> written;
        p.draw_area(fb, changed, w.target, written);
        for (std::int64_t y = readout_place.top; y < readout_place.bottom; ++y)
            for (std::int64_t x = readout_place.left; x < readout_place.right; ++x)
                ASSERT_EQ(w.at(x, y), Color{0}) << x << "," << y;
    }
}

TEST(Presenter, AClickLandsOnThePictureAnEnabledButtonOrAPanelRowsValue) {
    Presenter p;
    std::vector<kv::viewer::ToolbarButton> buttons = toolbar();
    ASSERT_EQ(buttons[1].action, kv::viewer::Action::Step);
    EXPECT_FALSE(buttons[1].enabled) << "Step is for a paused clock";
    p.set_toolbar(buttons);
    const Box panel{"Laboratoire",
                    {{"Ordre des phases", "direct  >", {}}, {"Fr\xe9quence", "<  50 %  >", {}}}};
    p.set_box(Slot::Panel, panel);
    const int zoom = 2;
    p.arrange(p.window_size(kClient, zoom), kClient, Fit{zoom, false});
    const Arrangement& a = p.arrangement();

    const Hit picture = p.hit(2 * 25 + 1, 2 * 25 + 1);
    EXPECT_EQ(picture.kind, Hit::Kind::Picture);
    EXPECT_EQ(picture.point, (kv::Point{25, 25}));
    const Hit pause = p.hit(a.buttons[0].left + 3, a.buttons[0].bottom - 1);
    EXPECT_EQ(pause.kind, Hit::Kind::Button);
    EXPECT_EQ(pause.action, kv::viewer::Action::TogglePause);
    EXPECT_EQ(p.hit(a.buttons[1].left + 3, a.buttons[1].top + 3).kind, Hit::Kind::Nothing);
    // Between two buttons, nothing.
    EXPECT_EQ(p.hit(a.buttons[0].right, a.buttons[0].top + 3).kind, Hit::Kind::Nothing);

    // The panel's second row: its name, its value's left half ("<"), its right half (">").
    const kv::viewer::BoxGeometry g = kv::viewer::box_geometry(panel.title, panel.rows);
    const Rect box = a.boxes[0];
    const std::int64_t y = box.top + zoom * (g.rows_top + g.row_height + 5);
    const int value = kv::viewer::text_width("<  50 %  >");
    const auto at = [&](int bx) { return p.hit(box.left + zoom * bx, y); };
    EXPECT_EQ(at(g.left_start + 2).kind, Hit::Kind::PanelRow);
    EXPECT_EQ(at(g.left_start + 2).row, 1u);
    EXPECT_EQ(at(g.left_start + 2).step, 0);
    EXPECT_EQ(at(g.right_start + 2).step, -1);
    EXPECT_EQ(at(g.right_start + value - 2).step, 1);
    EXPECT_EQ(at(g.right_start + value - 2).row, 1u);
    // The title is no row.
    EXPECT_EQ(p.hit(box.left + zoom * 10, box.top + zoom * 6).kind, Hit::Kind::Nothing);
}

} // namespace
