// The one viewer over a screen of our own: the wall clock is a number the test moves, input comes
// when the test says, boxes, status and captures are kept to be looked at. What every window
// (the desktop's, the page's) gets from it: the clock loop, the readout and help, the captures.
#include "platform/headless/gif_player.h"
#include "user/session.h"
#include "viewer/viewer.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <fstream>
#include <map>
#include <span>
#include <stdexcept>

namespace kv::viewer {
namespace {

// A program's table: a few of the viewer's own rows, and rows of the program's for its language,
// its look and its panel.
constexpr ActionInfo kProgramsTable[] = {
    own_action(Action::TogglePause),
    own_action(Action::ToggleHelp),
    own_action(Action::CloseHelp),
    {Action::NextLanguage,
     "language",
     {{{"l"}}},
     {"Langue", "Language"},
     {},
     {"langue", "language"}},
    {Action::NextLook, "look", {{{"a"}}}, {"Aspect", "Look"}, {}, {"aspect", "look"}},
    {Action::TogglePanel, "panel", {{{"F2"}}}, {"Panneau", "Panel"}, {}, {"panneau", "panel"}},
};

class FakeScreen final : public Screen {
  public:
    std::uint64_t wall = 1000;
    std::vector<std::optional<std::uint64_t>> waits; // the wall deadlines the viewer waited for
    std::vector<InputEvent> input;                   // handed over at the next wait
    std::map<Slot, Box> boxes;
    Status status;
    std::vector<Action> zooms;
    std::map<std::string, std::string> kept;  // captures by name
    bool full = false;                        // no room for captures
    std::vector<std::optional<Rect>> rings;   // the focus ring, each time it changed
    std::string focus_name;                   // the ringed part's, for a screen reader
    bool moves_on = false;                    // Tab may leave the picture (as in a page)
    bool speakers = true;                     // a sound device to open
    std::uint64_t readout_every = 0;          // the screen takes the readout at most this often
    std::vector<std::optional<Tones>> sounds; // what the sound was asked to play, in order
    std::vector<Rect> layers;                 // where each layer shown lay
    std::vector<ToolbarButton> toolbar;
    bool toolbar_at_open = false; // the toolbar came before the window opened

    bool open_window(const std::string&, int, int, std::string&) override {
        toolbar_at_open = !toolbar.empty();
        return true;
    }
    void show_toolbar(const std::vector<ToolbarButton>& buttons) override { toolbar = buttons; }
    void close_window() override {}
    std::uint64_t now_ms() override { return wall; }
    // Keys pressed and input that came while the program was busy, both taken at the next poll.
    std::vector<Action> busy_keys;
    std::vector<InputEvent> busy_input;
    void poll(std::vector<InputEvent>& out) override {
        for (const Action key : std::exchange(busy_keys, {}))
            act(key);
        out.insert(out.end(), busy_input.begin(), busy_input.end());
        busy_input.clear();
    }
    void wait(std::optional<std::uint64_t> until, std::vector<InputEvent>& out) override {
        waits.push_back(until);
        if (!input.empty()) {
            out = std::exchange(input, {});
        } else if (until) {
            wall = *until;
        } else {
            throw std::logic_error("the viewer waits for input that never comes");
        }
    }
    void present(const Framebuffer&, const Region&) override {}
    void message_box(const std::string&, const std::string&, unsigned) override {}
    void show(Slot slot, const Box& box) override { boxes[slot] = box; }
    void show_status(const Status& s) override { status = s; }
    void zoom(Action action) override { zooms.push_back(action); }
    void show_focus(const std::optional<Rect>& around) override { rings.push_back(around); }
    void show_layer(const Layer& layer) override { layers.push_back(layer.place()); }
    void name_focus(const std::string& name) override { focus_name = name; }
    bool focus_moves_on() const override { return moves_on; }
    std::uint64_t readout_every_ms() const override { return readout_every; }
    bool sound(const std::optional<Tones>& tones, std::string& why) override {
        if (tones && !speakers) {
            why = "no audio device";
            return false;
        }
        sounds.push_back(tones);
        return true;
    }
    std::string save_picture(const Framebuffer&, const std::string& stem) override {
        kept[stem + ".png"] = "";
        return stem + ".png";
    }
    std::unique_ptr<image::Output> new_capture(const std::string& stem,
                                               const std::string& extension) override {
        if (full) throw std::runtime_error("no room left");
        return std::make_unique<Capture>(*this, stem + "." + extension);
    }

  private:
    class Capture final : public image::Output {
      public:
        Capture(FakeScreen& screen, std::string name) : Output(std::move(name)), screen_(screen) {}
        void write(std::span<const std::uint8_t> bytes) override {
            bytes_.append(bytes.begin(), bytes.end());
        }
        std::string keep() override {
            screen_.kept[name()] = bytes_;
            return name();
        }

      private:
        FakeScreen& screen_;
        std::string bytes_;
    };
};

class ViewerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(viewer.open_window("KORVELINE", 8, 6, why));
        viewer.present(fb, Region(fb.bounds()));
    }
    // A Tick of the application's timer, as the window manager hands it out, then the first
    // look for input after it.
    void tick(std::uint64_t period_ms = 50) {
        viewer.timer_delivered(viewer.now_ms(), period_ms);
        fb.set(ticks % 8, 2, rgb(255, 0, static_cast<std::uint8_t>(ticks)));
        ++ticks;
        std::vector<InputEvent> none;
        viewer.poll(none);
    }

    FakeScreen screen;
    int ticks = 0;
    int readouts = 0;
    double readout_pace = 0;
    Program tools{
        .file_stem = "korveline",
        .write_data =
            [](image::Output& out) { out.write(std::string_view("tick,time_s\n2,0.1\n")); },
        .readout_title = [] { return std::string("Readout"); },
        .readout =
            [this](double pace) {
                readout_pace = pace;
                return std::vector<BoxRow>{{"Ticks", std::to_string(++readouts), {}}};
            },
        .name = "KORVELINE"};
    Viewer viewer{screen, tools};
    Framebuffer fb{8, 6, rgb(0, 200, 200)};
};

TEST_F(ViewerTest, ItsClockWaitsForTheTimerStopsStepsAndSlowsDown) {
    std::vector<InputEvent> out;
    EXPECT_EQ(viewer.now_ms(), 0u);
    viewer.wait(50, out);
    EXPECT_EQ(screen.waits.back(), 1050u);
    EXPECT_EQ(viewer.now_ms(), 50u);

    viewer.act(Action::TogglePause);
    EXPECT_EQ(screen.status.badge(), "PAUSE");
    screen.input.push_back(InputEvent{});
    viewer.wait(100, out);
    EXPECT_EQ(screen.waits.back(), std::nullopt) << "paused: no deadline, only input";
    EXPECT_EQ(out.size(), 1u);
    const std::size_t waits = screen.waits.size();
    viewer.act(Action::Step);
    viewer.wait(100, out);
    EXPECT_EQ(screen.waits.size(), waits) << "a step runs the next Tick at once";
    EXPECT_EQ(viewer.now_ms(), 100u);

    viewer.act(Action::TogglePause);
    viewer.act(Action::Slower);
    EXPECT_EQ(screen.status.badge(), "x1/2");
    viewer.wait(150, out);
    EXPECT_EQ(screen.waits.back(), screen.wall);
    EXPECT_EQ(viewer.now_ms(), 150u) << "x1/2: 50 ms of the application's in 100 ms of the wall";
}

TEST_F(ViewerTest, ARecordingHasAFrameATickEachShownForTheTimersPeriod) {
    tick(40);
    viewer.act(Action::ToggleRecording);
    EXPECT_EQ(screen.status.badge(), "REC");
    for (int k = 0; k < 3; ++k)
        tick(40);
    viewer.act(Action::ToggleRecording);
    EXPECT_EQ(screen.status.badge(), "Saved korveline.gif");
    ASSERT_TRUE(screen.kept.contains("korveline.gif"));

    const std::string path = std::string(KORVELINE_TEST_SCRATCH) + "/viewer-recording.gif";
    std::filesystem::create_directories(KORVELINE_TEST_SCRATCH);
    std::ofstream(path, std::ios::binary) << screen.kept["korveline.gif"];
    const kvtest::Animation played = kvtest::play_gif(path);
    ASSERT_EQ(played.frames.size(), 4u) << "the picture when it started, then one a Tick";
    for (const kvtest::Frame& f : played.frames)
        EXPECT_EQ(f.delay_cs, 4) << "SetTimer's 40 ms";
    EXPECT_TRUE(std::ranges::equal(played.frames.back().picture, fb.pixels()));
}

TEST_F(ViewerTest, TheReadoutFollowsEachTickAndTheKeysComeAndGo) {
    viewer.act(Action::ToggleReadout);
    EXPECT_EQ(screen.boxes[Slot::Readout].title, "Readout");
    tick();
    tick();
    EXPECT_EQ(screen.boxes[Slot::Readout].rows.at(0).right, "3") << "shown, then after each Tick";
    viewer.act(Action::ToggleReadout);
    EXPECT_TRUE(screen.boxes[Slot::Readout].empty());
    tick();
    EXPECT_EQ(readouts, 3) << "hidden, it is not asked for";

    viewer.act(Action::ToggleHelp);
    EXPECT_EQ(screen.boxes[Slot::Help].rows.size(), own_actions().size());
    EXPECT_EQ(screen.boxes[Slot::Help].rows.at(0).left, "Space");
    viewer.act(Action::CloseHelp);
    EXPECT_TRUE(screen.boxes[Slot::Help].empty());
    viewer.act(Action::ZoomIn);
    viewer.act(Action::ToggleFullscreen);
    EXPECT_EQ(screen.zooms, (std::vector{Action::ZoomIn, Action::ToggleFullscreen}));
}

TEST_F(ViewerTest, WorkBetweenTicksGoesInShortSlicesAndTheTicksStayOnTime) {
    // 300 ms of work (a curve to compute), a millisecond a step, for the layer that shows it.
    FakeScreen wall_clock;
    int work_ms = 300;
    std::vector<std::uint64_t> slices;
    std::vector<LayerWanted> asked;
    Program work;
    work.between_ticks = [&](const std::function<bool()>& time_left) {
        const std::uint64_t start = wall_clock.wall;
        while (work_ms > 0 && time_left()) {
            ++wall_clock.wall;
            --work_ms;
        }
        slices.push_back(wall_clock.wall - start);
        return work_ms > 0;
    };
    work.layer = [&](const LayerWanted& wanted) -> std::optional<Layer> {
        asked.push_back(wanted);
        if (!wanted.on || work_ms > 0 || !wall_clock.layers.empty()) return std::nullopt;
        Layer curve;
        curve.left = 3;
        curve.image = Framebuffer(2, 2, rgb(170, 0, 120));
        return curve;
    };
    Viewer v(wall_clock, work);
    std::string why;
    ASSERT_TRUE(v.open_window("KORVELINE", 8, 6, why));
    v.act(Action::ToggleLayer);
    EXPECT_EQ(wall_clock.status.on(Action::ToggleLayer), true);
    std::vector<InputEvent> out;
    for (std::uint64_t tick = 1; tick <= 10; ++tick) {
        v.wait(50 * tick, out);
        EXPECT_EQ(wall_clock.wall, 1000 + 50 * tick) << "Tick " << tick << " on time";
        v.timer_delivered(v.now_ms(), 50);
        v.poll(out);
    }
    EXPECT_EQ(work_ms, 0) << "done within ten Ticks";
    EXPECT_LE(*std::max_element(slices.begin(), slices.end()), 8u) << "a slice at most 8 ms";
    EXPECT_EQ(wall_clock.layers, std::vector<Rect>{(Rect{3, 0, 5, 2})}) << "shown once, when done";
    EXPECT_TRUE(asked.back().on && !asked.back().with_readout);

    v.act(Action::ToggleReadout);
    EXPECT_TRUE(asked.back().on && asked.back().with_readout) << "what goes with the readout";
}

TEST_F(ViewerTest, CapturesAreToldInTheBadgeForAFewSecondsAndSoIsWhyOneFailed) {
    viewer.act(Action::SaveData);
    EXPECT_EQ(screen.kept["korveline.csv"], "tick,time_s\n2,0.1\n");
    EXPECT_EQ(screen.status.badge(), "Saved korveline.csv");
    screen.full = true;
    viewer.act(Action::ToggleRecording);
    EXPECT_EQ(screen.status.badge(), "no room left");
    EXPECT_FALSE(screen.status.recording);
    // Paused, the viewer still wakes when the message is due to go (4 s after it came), takes
    // it away, and then waits for input alone.
    viewer.act(Action::TogglePause);
    screen.wall += 1000;
    std::vector<InputEvent> out;
    EXPECT_THROW(viewer.wait(std::nullopt, out), std::logic_error);
    EXPECT_EQ(screen.waits, (std::vector<std::optional<std::uint64_t>>{5000, std::nullopt}));
    EXPECT_EQ(screen.status.badge(), "PAUSE");
}

// In French, the viewer's messages and its list of keys are French (ISO 8859-1, as boxes are).
TEST_F(ViewerTest, ItsOwnTextsAreInThePicturesLanguage) {
    Program french = tools;
    french.language = Lang::Fr;
    FakeScreen screen_fr;
    Viewer viewer_fr{screen_fr, french};
    std::string why;
    ASSERT_TRUE(viewer_fr.open_window("KORVELINE", 8, 6, why));
    viewer_fr.present(fb, Region(fb.bounds()));
    viewer_fr.act(Action::SaveData);
    EXPECT_EQ(screen_fr.status.badge(), "Enregistr\xe9 : korveline.csv");
    viewer_fr.act(Action::ToggleHelp);
    EXPECT_EQ(screen_fr.boxes[Slot::Help].title, "KORVELINE : touches");
    EXPECT_EQ(screen_fr.boxes[Slot::Help].rows.at(1).left, "Fl\xe8"
                                                           "che droite");
}

// A program's keys for its next language and look ask it for them, as often as pressed; the list
// of keys, shown, is in the new language at once. A program that gives no way to change them makes
// the keys do nothing.
TEST_F(ViewerTest, LanguageAndLookKeysAskTheProgramAndTheListOfKeysFollows) {
    Program asked = tools;
    asked.actions = kProgramsTable;
    asked.language = Lang::Fr;
    int languages = 0, looks = 0;
    asked.next_language = [&languages] { return ++languages % 2 == 1 ? Lang::En : Lang::Fr; };
    asked.next_look = [&looks] { ++looks; };
    FakeScreen asked_screen;
    Viewer asked_viewer{asked_screen, asked};
    std::string why;
    ASSERT_TRUE(asked_viewer.open_window("KORVELINE", 8, 6, why));
    asked_viewer.act(Action::ToggleHelp);
    for (const auto& [key, title] :
         {std::pair{"l", "KORVELINE: keys"}, std::pair{"L", "KORVELINE : touches"},
          std::pair{"a", "KORVELINE : touches"}, std::pair{"l", "KORVELINE: keys"}}) {
        const std::optional<Action> action = asked_screen.action_for_key({key});
        ASSERT_TRUE(action.has_value()) << key;
        asked_viewer.act(*action);
        EXPECT_EQ(asked_screen.boxes[Slot::Help].title, title) << key;
    }
    EXPECT_EQ(languages, 3);
    EXPECT_EQ(looks, 1);

    viewer.act(Action::NextLanguage);
    viewer.act(Action::NextLook);
    EXPECT_TRUE(screen.boxes[Slot::Help].title.empty());
}

// The readout says how much the program's time is slowed down on screen: it hears the clock's pace,
// and a change of pace redraws it at once, paused too.
TEST_F(ViewerTest, TheReadoutFollowsTheClocksPace) {
    std::string why;
    ASSERT_TRUE(viewer.open_window("KORVELINE", 8, 6, why));
    viewer.act(Action::ToggleReadout);
    EXPECT_EQ(readout_pace, 1);
    viewer.act(Action::TogglePause);
    for (const auto& [action, pace] :
         {std::pair{Action::Faster, 2.0}, std::pair{Action::Faster, 4.0},
          std::pair{Action::Faster, 8.0}, std::pair{Action::Faster, 8.0},
          std::pair{Action::Slower, 4.0}, std::pair{Action::Slower, 2.0},
          std::pair{Action::Slower, 1.0}, std::pair{Action::Slower, 0.5},
          std::pair{Action::Slower, 0.25}}) {
        const int before = readouts;
        viewer.act(action);
        EXPECT_EQ(readouts, before + 1);
        EXPECT_EQ(readout_pace, pace);
    }
    viewer.act(Action::ToggleReadout);
    const int hidden = readouts;
    viewer.act(Action::Faster);
    EXPECT_EQ(readouts, hidden) << "hidden, it is not asked for";
}

// A screen that takes the readout at most every 250 ms (the page's): while Ticks run it is asked
// for 4 times a second, not 20; once paused the last Tick's shows at once.
TEST_F(ViewerTest, AScreenMayTakeTheReadoutLessOftenButAlwaysItsLastOne) {
    Program counted = tools;
    counted.readout = [this](double) {
        ++readouts;
        return std::vector<BoxRow>{{"Ticks", std::to_string(ticks), {}}};
    };
    FakeScreen slow_screen;
    slow_screen.readout_every = 250;
    Viewer slow_viewer{slow_screen, counted};
    std::string why;
    ASSERT_TRUE(slow_viewer.open_window("KORVELINE", 8, 6, why));
    slow_viewer.act(Action::ToggleReadout);
    ASSERT_EQ(readouts, 1);
    std::vector<InputEvent> out;
    for (int i = 1; i <= 19; ++i) {
        slow_viewer.wait(50u * static_cast<unsigned>(i), out);
        slow_viewer.timer_delivered(slow_viewer.now_ms(), 50);
        ++ticks;
        slow_viewer.poll(out);
    }
    EXPECT_EQ(readouts, 4) << "one at the start, then one every 250 ms of a 950 ms run";
    EXPECT_EQ(slow_screen.boxes[Slot::Readout].rows.at(0).right, "15");

    slow_viewer.act(Action::TogglePause);
    slow_screen.input.push_back(InputEvent{});
    slow_viewer.wait(std::nullopt, out);
    EXPECT_EQ(slow_screen.boxes[Slot::Readout].rows.at(0).right, "19") << "paused: the last Tick's";
    EXPECT_EQ(readouts, 5);
}

// Key M: the two hums follow the program's frequencies after each Tick, fall silent while paused
// and while the program has nothing to hear, and go when the sound is turned off or the window
// closes. Without speakers the badge says so and nothing stays on.
TEST_F(ViewerTest, TheSoundFollowsTheTicksFallsSilentWhenPausedAndGoesWithTheWindow) {
    Program heard = tools;
    std::optional<Hum> hum = Hum{50, 49};
    heard.hum = [&hum] { return hum; };
    FakeScreen sound_screen;
    Viewer sound_viewer{sound_screen, heard};
    std::string why;
    ASSERT_TRUE(sound_viewer.open_window("KORVELINE", 8, 6, why));
    const auto after_tick = [&] {
        sound_viewer.timer_delivered(sound_viewer.now_ms(), 50);
        std::vector<InputEvent> none;
        sound_viewer.poll(none);
    };
    after_tick();
    EXPECT_TRUE(sound_screen.sounds.empty()) << "no sound before the user asks for it";

    sound_viewer.act(*sound_screen.action_for_key({"m"}));
    EXPECT_EQ(sound_screen.status.on(Action::ToggleSound), true);
    const Tones playing{220, 219, kHumGain};
    ASSERT_EQ(sound_screen.sounds.size(), 1u);
    EXPECT_EQ(sound_screen.sounds.back(), playing);
    hum = Hum{50, 45};
    after_tick();
    EXPECT_EQ(sound_screen.sounds.back(), (Tones{220, 215, kHumGain}));
    after_tick();
    EXPECT_EQ(sound_screen.sounds.size(), 2u) << "the same tones are not asked for again";

    sound_viewer.act(Action::TogglePause);
    EXPECT_EQ(sound_screen.sounds.back(), (Tones{220, 215, 0}));
    sound_viewer.act(Action::TogglePause);
    EXPECT_EQ(sound_screen.sounds.back(), (Tones{220, 215, kHumGain}));
    hum.reset(); // the supply switched off
    after_tick();
    EXPECT_EQ(sound_screen.sounds.back(), Tones{});

    sound_viewer.act(Action::ToggleSound);
    EXPECT_EQ(sound_screen.sounds.back(), std::nullopt);
    EXPECT_EQ(sound_screen.status.on(Action::ToggleSound), false);
    sound_viewer.act(Action::ToggleSound);
    sound_viewer.close_window();
    EXPECT_EQ(sound_screen.sounds.back(), std::nullopt) << "the window closed: silence";

    screen.speakers = false;
    viewer.act(Action::ToggleSound);
    EXPECT_EQ(screen.status.on(Action::ToggleSound), false);
    EXPECT_EQ(screen.status.badge(), "No sound: no audio device");
}

// What the window procedure below was given, in order: "tick" and "click".
std::vector<std::string> g_seen;

LRESULT CALLBACK SeeingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER) g_seen.emplace_back("tick");
    if (msg == WM_LBUTTONDOWN) g_seen.emplace_back("click");
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProc(hwnd, msg, wp, lp);
}

// The application's message loop over the viewer, until the viewer, paused, waits for input
// alone (the screen then has none to give).
void run_while_ticks_can_come() {
    MSG msg;
    try {
        while (GetMessage(&msg, nullptr, 0, 0))
            DispatchMessage(&msg);
    } catch (const std::logic_error&) {
    }
}

// The program is busy when a Tick falls due, and meanwhile Space and a click come in: they are
// taken together. The click is handled, and the late Tick must not run after it: paused, the
// motor stays as the click left it (a Tick there would draw the state before the click again).
// A step still runs exactly one Tick.
TEST_F(ViewerTest, NoTickDueBeforeThePauseRunsAfterIt) {
    Session session(viewer);
    g_seen.clear();
    WNDCLASSEX wc{};
    wc.cbSize = sizeof(WNDCLASSEX);
    wc.lpfnWndProc = SeeingProc;
    wc.lpszClassName = "PauseOrder";
    ASSERT_NE(RegisterClassEx(&wc), 0);
    HWND hwnd = CreateWindowEx(0, "PauseOrder", "KORVELINE", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                               CW_USEDEFAULT, 100, 80, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    ShowWindow(hwnd, SW_SHOW);
    SetTimer(hwnd, 1, 50, nullptr);
    MSG msg;
    while (g_seen.empty() && GetMessage(&msg, nullptr, 0, 0))
        DispatchMessage(&msg);
    ASSERT_EQ(g_seen, std::vector<std::string>{"tick"});
    ASSERT_EQ(screen.wall, 1050u);

    screen.wall = 1110; // the next Tick was due at 1100
    screen.busy_keys = {Action::TogglePause};
    for (const InputEvent::Kind kind : {InputEvent::Kind::ButtonDown, InputEvent::Kind::ButtonUp}) {
        InputEvent click;
        click.kind = kind;
        click.x = 20;
        click.y = 10;
        screen.busy_input.push_back(click);
    }
    run_while_ticks_can_come();
    EXPECT_EQ(g_seen, (std::vector<std::string>{"tick", "click"}));

    viewer.act(Action::Step);
    run_while_ticks_can_come();
    EXPECT_EQ(g_seen, (std::vector<std::string>{"tick", "click", "tick"}));
    DestroyWindow(hwnd);
}

// The keys a keyboard user reaches the picture's parts with, through the table of actions: what
// each press does to the ring, and the clicks Enter and Shift Enter make, as a mouse makes them.
TEST(ViewerFocus, TabGoesRoundThePartsAndEnterClicksInTheMiddleOfTheRingedOne) {
    const Rect alim{1, 1, 50, 50}, coil{11, 241, 160, 340}, reset{741, 344, 790, 355};
    for (const bool moves_on : {false, true}) {
        SCOPED_TRACE(moves_on ? "in a page" : "in a window");
        FakeScreen screen;
        screen.moves_on = moves_on;
        Program tools;
        tools.focus_regions = {
            {{"ALIM", "ALIM"}, alim}, {{"bobine", "coil"}, coil}, {{"R à Z", "R à Z"}, reset}};
        Viewer viewer{screen, tools};
        std::string why;
        ASSERT_TRUE(viewer.open_window("KORVELINE", 780, 557, why));
        const auto press = [&](std::string_view key, bool shift = false) {
            const std::optional<Action> action =
                screen.action_for_key({key, false, false, false, shift});
            EXPECT_TRUE(action) << key;
            return action && viewer.act(*action);
        };
        struct Step {
            std::string_view key;
            bool shift;
            std::optional<Rect> ring; // after it
            bool stays;               // the focus stays in the picture
        };
        const Step window_steps[] = {
            {"Tab", false, alim, true}, // shown where it stands: the first part
            {"Tab", false, coil, true}, {"Tab", false, reset, true},
            {"Tab", false, alim, true}, // round again: nothing else in the window
            {"Tab", true, reset, true}, {"Escape", false, std::nullopt, true},
            {"Tab", true, alim, true}, // after Escape, from the first part again
        };
        const Step page_steps[] = {
            {"Tab", false, coil, true},
            {"Tab", false, reset, true},
            {"Tab", false, std::nullopt, false}, // on to the page's controls
        };
        if (moves_on) {
            viewer.focus_in(false); // the canvas took the focus
            EXPECT_EQ(screen.rings.back(), alim);
        }
        for (const Step& step :
             moves_on ? std::span<const Step>(page_steps) : std::span<const Step>(window_steps)) {
            EXPECT_EQ(press(step.key, step.shift), step.stays) << step.key << step.shift;
            EXPECT_EQ(screen.rings.back(), step.ring) << step.key << step.shift;
            EXPECT_EQ(screen.focus_name.empty(), !step.ring) << "a name while a ring shows";
        }
        if (moves_on) {
            viewer.focus_in(true); // back in by Shift Tab: onto the last part
            EXPECT_EQ(screen.rings.back(), reset);
            EXPECT_TRUE(press("Tab", true));
            EXPECT_TRUE(press("Tab", true));
            EXPECT_FALSE(press("Tab", true)) << "before ALIM, on to the page's controls";
            EXPECT_EQ(screen.rings.back(), std::nullopt);
        }

        // Enter and Shift Enter on the coil: a press and a release at its middle, then the same
        // with the right button, handed over as the screen's own input.
        viewer.focus_in(false);
        press("Tab");
        EXPECT_EQ(screen.focus_name, "coil") << "for a screen reader, in the viewer's language";
        screen.language(Lang::Fr);
        EXPECT_EQ(screen.focus_name, "bobine");
        EXPECT_TRUE(press("Enter"));
        EXPECT_TRUE(press("Enter", true));
        std::vector<InputEvent> out;
        viewer.wait(std::nullopt, out);
        using Kind = InputEvent::Kind;
        using Button = InputEvent::Button;
        const std::pair<Kind, Button> expected[] = {{Kind::ButtonDown, Button::Left},
                                                    {Kind::ButtonUp, Button::Left},
                                                    {Kind::ButtonDown, Button::Right},
                                                    {Kind::ButtonUp, Button::Right}};
        ASSERT_EQ(out.size(), std::size(expected));
        for (std::size_t i = 0; i < out.size(); ++i) {
            EXPECT_EQ(out[i].kind, expected[i].first) << i;
            EXPECT_EQ(out[i].button, expected[i].second) << i;
            EXPECT_EQ(out[i].x, 85) << i;
            EXPECT_EQ(out[i].y, 290) << i;
        }
        EXPECT_EQ(screen.rings.back(), coil);
    }
}

// The program's panel: its key shows the program's rows, the arrows and + - are its own while it
// shows (Right steps a value, not the clock), other keys go on to the table's actions, Escape
// closes it alone; a recording carries the program's comment.
TEST(ViewerPanel, ThePanelTakesItsKeysWhileItShowsAndOnlyThen) {
    FakeScreen screen;
    std::vector<std::pair<std::size_t, int>> steps;
    Program tools;
    tools.actions = kProgramsTable;
    tools.panel.title = [](Lang lang) { return std::string(lang == Lang::Fr ? "Labo" : "Lab"); };
    tools.panel.rows = [](Lang) {
        return std::vector<BoxRow>{{"a", "1", {}}, {"b", "2", {}}, {"c", "3", {}}};
    };
    tools.panel.step = [&](std::size_t row, int step) {
        steps.emplace_back(row, step);
        return true;
    };
    tools.recording_comment = [] { return std::string("made with a=1"); };
    Viewer viewer(screen, tools);
    std::string why;
    ASSERT_TRUE(viewer.open_window("KORVELINE", 8, 6, why));
    Framebuffer fb{8, 6, rgb(0, 200, 200)};
    viewer.present(fb, Region(fb.bounds()));
    const auto chosen = [&] {
        const std::vector<BoxRow>& rows = screen.boxes[Slot::Panel].rows;
        std::string marked;
        for (const BoxRow& r : rows)
            marked += r.swatch ? r.left : "";
        return marked;
    };

    EXPECT_FALSE(viewer.panel_key({"ArrowDown"})) << "hidden, it takes no key";
    ASSERT_EQ(screen.action_for_key({"F2"}), Action::TogglePanel);
    viewer.act(Action::TogglePanel);
    EXPECT_EQ(screen.boxes[Slot::Panel].title, "Lab");
    EXPECT_EQ(screen.boxes[Slot::Panel].rows.size(), 3u + 3u) << "the rows, then its keys";
    EXPECT_EQ(chosen(), "a");
    EXPECT_TRUE(viewer.panel_key({"ArrowUp"}));
    EXPECT_EQ(chosen(), "c") << "up from the first row: the last";
    EXPECT_TRUE(viewer.panel_key({"ArrowDown", false, false, true}));
    EXPECT_EQ(chosen(), "a") << "a held arrow goes on";
    viewer.act(Action::TogglePause);
    EXPECT_TRUE(viewer.panel_key({"ArrowRight"}));
    EXPECT_TRUE(viewer.panel_key({"-"}));
    EXPECT_TRUE(viewer.panel_key({"+"}));
    EXPECT_EQ(steps, (std::vector<std::pair<std::size_t, int>>{{0, 1}, {0, -1}, {0, 1}}));
    EXPECT_EQ(screen.status.badge(), "PAUSE") << "no Tick stepped, no speed changed";
    EXPECT_FALSE(viewer.panel_key({"ArrowRight", true})) << "Ctrl chords are the table's";
    EXPECT_FALSE(viewer.panel_key({" "}));
    EXPECT_FALSE(viewer.panel_key({"Tab"})) << "the focus ring still works the picture";

    // A click on a row chooses it, and steps it where asked; on the keys' rows, nothing.
    EXPECT_EQ(screen.status.on(Action::TogglePanel), true);
    screen.panel_click(1, +1);
    EXPECT_EQ(chosen(), "b");
    screen.panel_click(2, 0);
    EXPECT_EQ(chosen(), "c");
    screen.panel_click(4, -1);
    EXPECT_EQ(chosen(), "c");
    EXPECT_EQ(steps, (std::vector<std::pair<std::size_t, int>>{{0, 1}, {0, -1}, {0, 1}, {1, 1}}));

    // The list of keys lies over the panel: Escape takes it away first, then the panel.
    viewer.act(Action::ToggleHelp);
    EXPECT_FALSE(viewer.panel_key({"Escape"}));
    ASSERT_EQ(screen.action_for_key({"Escape"}), Action::CloseHelp);
    viewer.act(Action::CloseHelp);
    EXPECT_TRUE(screen.boxes[Slot::Help].empty());
    EXPECT_FALSE(screen.boxes[Slot::Panel].empty()) << "Escape closed the list of keys alone";
    EXPECT_TRUE(viewer.panel_key({"Escape"}));
    EXPECT_TRUE(screen.boxes[Slot::Panel].empty());
    EXPECT_EQ(screen.status.on(Action::TogglePanel), false);
    EXPECT_FALSE(viewer.panel_key({"ArrowRight"}));
    screen.panel_click(0, +1);
    EXPECT_EQ(steps.size(), 4u) << "hidden, it takes no click";

    viewer.act(Action::ToggleRecording);
    viewer.act(Action::ToggleRecording);
    const std::string path = ::testing::TempDir() + "viewer_lab.gif";
    std::ofstream(path, std::ios::binary) << screen.kept["capture.gif"];
    EXPECT_EQ(kvtest::play_gif(path).comment, "made with a=1");
}

// Where the program shows its panel itself (the page), the key opens it there.
TEST(ViewerPanel, WithoutRowsTheKeyAsksTheProgramToOpenItsOwn) {
    FakeScreen screen;
    int opened = 0;
    Program tools;
    tools.open_panel = [&] { ++opened; };
    Viewer viewer(screen, tools);
    viewer.act(Action::TogglePanel);
    viewer.set_language(Lang::Fr); // as the page's language buttons do
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(screen.boxes.count(Slot::Panel), 0u) << "no panel box on a screen that has none";
    EXPECT_FALSE(viewer.panel_key({"ArrowDown"}));
}

// The window's toolbar: a button for each row of the table that has one, in the table's order,
// there before the window opens; each in the viewer's language, showing how it stands, and as wide
// whatever it shows.
TEST(ViewerToolbar, ItsButtonsFollowTheTableAndShowHowTheViewerStands) {
    FakeScreen screen;
    Program program;
    program.language = Lang::Fr;
    Viewer viewer(screen, program);
    std::string why;
    ASSERT_TRUE(viewer.open_window("KORVELINE", 8, 6, why));
    EXPECT_TRUE(screen.toolbar_at_open);
    Framebuffer fb{8, 6, rgb(0, 200, 200)};
    viewer.present(fb, Region(fb.bounds()));
    std::vector<Action> rows;
    for (const ActionInfo& row : own_actions())
        if (row.toolbar != Button::None) rows.push_back(row.action);
    std::vector<Action> shown;
    for (const ToolbarButton& b : screen.toolbar)
        shown.push_back(b.action);
    EXPECT_EQ(shown, rows);
    const auto button = [&](Action action) {
        for (const ToolbarButton& b : screen.toolbar)
            if (b.action == action) return b;
        ADD_FAILURE() << "no button";
        return ToolbarButton{};
    };
    const int width = button(Action::TogglePause).width;
    EXPECT_EQ(button(Action::TogglePause).label, "Pause");
    EXPECT_FALSE(button(Action::Step).enabled) << "a step is for a paused clock";
    EXPECT_EQ(button(Action::Slower).label, "-");
    EXPECT_EQ(button(Action::ToggleFullscreen).label, "Plein \xe9"
                                                      "cran");
    EXPECT_FALSE(button(Action::ToggleReadout).on);

    viewer.act(Action::TogglePause);
    viewer.act(Action::ToggleReadout);
    viewer.act(Action::ToggleHelp);
    EXPECT_EQ(button(Action::TogglePause).label, "Reprendre");
    EXPECT_FALSE(button(Action::TogglePause).on) << "its own label says it";
    EXPECT_TRUE(button(Action::Step).enabled);
    EXPECT_TRUE(button(Action::ToggleReadout).on);
    EXPECT_TRUE(button(Action::ToggleHelp).on);
    viewer.set_language(Lang::En);
    EXPECT_EQ(button(Action::TogglePause).label, "Resume");
    EXPECT_EQ(button(Action::TogglePause).width, width);
    viewer.act(Action::ToggleRecording);
    EXPECT_EQ(button(Action::ToggleRecording).label, "Stop");
    viewer.act(Action::ToggleRecording);
    viewer.act(Action::TogglePause);
    EXPECT_EQ(button(Action::TogglePause).label, "Pause");
    EXPECT_FALSE(button(Action::Step).enabled);
}

} // namespace
} // namespace kv::viewer
