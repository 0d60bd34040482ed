// korveline's command line, and its start without a display.
#include "desktop/desktop_session.h"

#include <gtest/gtest.h>

namespace {

struct ProgramRun {
    int exit_code = -1;
    std::string out;
    std::string err;
};

ProgramRun run(const std::vector<std::string>& args,
               const std::vector<std::string>& environment = {}) {
    const std::string dir = kvtest::scratch_dir();
    std::vector<std::string> argv{kvtest::korveline_program()};
    argv.insert(argv.end(), args.begin(), args.end());
    kvtest::Process p(argv, kvtest::with_leak_suppressions(environment), dir + "/out",
                      dir + "/err");
    ProgramRun r;
    r.exit_code = p.wait_exit(std::chrono::seconds(20)).value_or(-1);
    r.out = kvtest::read_file(dir + "/out");
    r.err = kvtest::read_file(dir + "/err");
    return r;
}

TEST(CommandLine, HelpDescribesTheKeysAndExitsWithZero) {
    for (const char* option : {"--help", "-h"}) {
        const ProgramRun r = run({option});
        EXPECT_EQ(r.exit_code, 0) << option;
        EXPECT_TRUE(r.out.starts_with("Usage: korveline")) << r.out;
        EXPECT_NE(r.out.find("Space"), std::string::npos);
        EXPECT_NE(r.out.find("KORVELINE_TICK_LOG"), std::string::npos);
        EXPECT_EQ(r.err, "");
    }
}

TEST(CommandLine, VersionPrintsTheVersion) {
    const ProgramRun r = run({"--version"});
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_TRUE(r.out.starts_with("korveline ")) << r.out;
    EXPECT_EQ(r.out.back(), '\n');
    EXPECT_EQ(r.err, "");
}

TEST(CommandLine, AnythingElseIsAUsageErrorWithExitCodeTwo) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--frobnicate"},
                                                 {"script.kvs"},
                                                 {"-"},
                                                 {"--help", "x"},
                                                 {"--version", "--help"},
                                                 {""}}) {
        const ProgramRun r = run(args, {"DISPLAY", "WAYLAND_DISPLAY"});
        EXPECT_EQ(r.exit_code, 2) << args[0];
        EXPECT_EQ(r.out, "") << args[0];
        EXPECT_NE(r.err.find("Usage: korveline"), std::string::npos) << r.err;
    }
}

TEST(CommandLine, LabSettingsItDoesNotTakeAreOneLineBeforeAnyWindow) {
    struct Bad {
        std::vector<std::string> args;
        const char* error;
    };
    for (const Bad& bad :
         {Bad{{"--lab", "frequency=300"},
              "korveline: --lab: frequency: '300' is outside 10 to 200 (% of nominal)\n"},
          Bad{{"--lab", "order=reversed", "open=north"},
              "korveline: --lab: open: 'north' is not one of none, 1, 2, 3\n"},
          Bad{{"--lab=poles"}, "korveline: --lab: 'poles' is not NAME=VALUE\n"},
          Bad{{"--lab", "--lang", "en"}, "korveline: --lab needs settings NAME=VALUE\n"}}) {
        const ProgramRun r = run(bad.args, {"DISPLAY", "WAYLAND_DISPLAY"});
        EXPECT_EQ(r.exit_code, 2) << bad.error;
        EXPECT_EQ(r.err, bad.error);
        EXPECT_EQ(r.out, "");
    }
    // Settings it takes get as far as the window (none can open: no display).
    const ProgramRun r = run({"--lab", "order=reversed", "voltage=50", "--lang", "en"},
                             {"DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR", "SDL_VIDEODRIVER"});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_NE(r.err.find("no display found"), std::string::npos) << r.err;
}

TEST(CommandLine, AnUnknownLanguageIsAnErrorBeforeAnyWindow) {
    struct Bad {
        std::vector<std::string> args;
        std::vector<std::string> environment;
        const char* error;
    };
    for (const Bad& bad :
         {Bad{{"--lang", "de"}, {}, "korveline: --lang: unknown language 'de' (known: fr, en)\n"},
          Bad{{"--lang"}, {}, "korveline: --lang needs a language\n"},
          Bad{{},
              {"KORVELINE_LANG=xx"},
              "korveline: KORVELINE_LANG: unknown language 'xx' (known: fr, en)\n"}}) {
        std::vector<std::string> environment = bad.environment;
        environment.insert(environment.end(), {"DISPLAY", "WAYLAND_DISPLAY"});
        const ProgramRun r = run(bad.args, environment);
        EXPECT_EQ(r.exit_code, 2) << bad.error;
        EXPECT_EQ(r.err, bad.error);
    }
    // A known language gets as far as the window (none can open: no X server on display 4321).
    const ProgramRun r =
        run({"--lang", "en"}, {"DISPLAY=:4321", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR",
                               "SDL_VIDEODRIVER", "KORVELINE_LANG"});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_TRUE(r.err.starts_with("cannot open a window: ")) << r.err;
}

TEST(CommandLine, AnUnknownLookIsAnErrorBeforeAnyWindow) {
    for (const auto& [args, error] :
         {std::pair<std::vector<std::string>, std::string>{
              {"--look", "sepia"},
              "korveline: --look: unknown look 'sepia' (known: default, colour-vision, "
              "projector)\n"},
          {{"--look="}, "korveline: --look needs a look (default, colour-vision, projector)\n"}}) {
        const ProgramRun r = run(args, {"DISPLAY", "WAYLAND_DISPLAY"});
        EXPECT_EQ(r.exit_code, 2) << error;
        EXPECT_EQ(r.err, error);
    }
    // A known look gets as far as the window.
    const ProgramRun r = run({"--look", "projector"}, {"DISPLAY=:4321", "WAYLAND_DISPLAY",
                                                       "XDG_RUNTIME_DIR", "SDL_VIDEODRIVER"});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_TRUE(r.err.starts_with("cannot open a window: ")) << r.err;
}

TEST(CommandLine, WithoutADisplayTheProgramSaysSoInOneLineAndFails) {
    const ProgramRun r =
        run({}, {"DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR", "SDL_VIDEODRIVER"});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "korveline: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set);"
                     " korveline-script runs the simulation without one\n");
}

TEST(CommandLine, ADisplayThatCannotBeOpenedIsAStartUpFailure) {
    // No X server listens on display 4321.
    const ProgramRun r =
        run({}, {"DISPLAY=:4321", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR", "SDL_VIDEODRIVER"});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_EQ(r.out, "");
    // The window manager's reason, from SDL, then the application's own message box.
    const std::string reason = "cannot open a window: ";
    ASSERT_TRUE(r.err.starts_with(reason)) << r.err;
    const auto end_of_reason = r.err.find('\n');
    EXPECT_GT(end_of_reason, reason.size()) << "an empty reason";
    EXPECT_EQ(r.err.substr(end_of_reason + 1), "Error!: Window Creation Failed!\n");
}

} // namespace
