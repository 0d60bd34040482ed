#include "desktop/desktop_session.h"

#include "image/png_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// Last: Xlib's macros (None, Bool, ...) would clash with names in the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

extern char** environ;

namespace kvtest {

namespace fs = std::filesystem;

namespace {

std::string quoted(const std::string& s) {
    std::string q = "'";
    for (const char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string trimmed(std::string s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == ' '))
        s.pop_back();
    return s;
}

int exit_code_of(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::vector<std::string> merged_environment(const std::vector<std::string>& changes) {
    std::map<std::string, std::string> vars;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const auto eq = entry.find('=');
        if (eq != std::string::npos) vars[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    for (const std::string& change : changes) {
        const auto eq = change.find('=');
        if (eq == std::string::npos) {
            vars.erase(change);
        } else {
            vars[change.substr(0, eq)] = change.substr(eq + 1);
        }
    }
    std::vector<std::string> out;
    for (const auto& [name, value] : vars)
        out.push_back(name + "=" + value);
    return out;
}

std::vector<char*> c_strings(std::vector<std::string>& strings) {
    std::vector<char*> out;
    for (std::string& s : strings)
        out.push_back(s.data());
    out.push_back(nullptr);
    return out;
}

} // namespace

ShellRun shell(const std::string& command) {
    ShellRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.out.append(buffer.data(), n);
    run.status = exit_code_of(pclose(pipe));
    return run;
}

bool installed(const std::string& program) {
    return shell("command -v " + quoted(program) + " >/dev/null 2>&1").status == 0;
}

std::string korveline_program() {
    const char* path = std::getenv("KORVELINE");
    return path != nullptr ? path : KORVELINE_PROGRAM;
}

std::string scratch_dir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const fs::path dir = fs::path(KORVELINE_TEST_SCRATCH) /
                         (std::string(info->test_suite_name()) + "." + info->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir.string();
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

Process::Process(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                 const std::string& out_path, const std::string& err_path, int fd3) {
    std::vector<std::string> args = argv;
    std::vector<std::string> env = merged_environment(environment);
    std::vector<char*> c_args = c_strings(args);
    std::vector<char*> c_env = c_strings(env);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    if (fd3 != -1) posix_spawn_file_actions_adddup2(&actions, fd3, 3);
    pid_t pid = -1;
    if (posix_spawnp(&pid, c_args[0], &actions, nullptr, c_args.data(), c_env.data()) == 0)
        pid_ = pid;
    posix_spawn_file_actions_destroy(&actions);
}

Process::~Process() {
    if (!started() || exit_code_) return;
    kill(pid_, SIGTERM);
    if (!wait_exit(std::chrono::seconds(2))) {
        kill(pid_, SIGKILL);
        wait_exit(std::chrono::seconds(2));
    }
}

bool Process::running() {
    return started() && !wait_exit(std::chrono::milliseconds(0));
}

std::optional<int> Process::wait_exit(std::chrono::milliseconds within) {
    if (exit_code_ || !started()) return exit_code_;
    const auto end = std::chrono::steady_clock::now() + within;
    for (;;) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            exit_code_ = exit_code_of(status);
            return exit_code_;
        }
        if (std::chrono::steady_clock::now() >= end) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

namespace {

// Reads the display number Xvfb writes to its -displayfd once it accepts connections; none when
// it exits first (the display was taken) or takes longer than `within`.
std::optional<std::string> ready_display(int fd, std::chrono::milliseconds within) {
    std::string text;
    const auto end = std::chrono::steady_clock::now() + within;
    while (text.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) return std::nullopt;
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
        char buffer[32];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) return std::nullopt;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return ":" + trimmed(text);
}

} // namespace

XServer::XServer(const std::string& dir, const std::string& screen,
                 const std::vector<std::string>& options) {
    for (int n = 90; n < 190; ++n) {
        const std::string number = std::to_string(n);
        if (fs::exists("/tmp/.X" + number + "-lock") || fs::exists("/tmp/.X11-unix/X" + number)) {
            continue;
        }
        // Readiness comes from our own server through -displayfd, never from whichever server
        // happens to answer on that number.
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) break;
        std::vector<std::string> argv{"Xvfb",      ":" + number, "-screen",    "0", screen + "x24",
                                      "-nolisten", "tcp",        "-displayfd", "3"};
        argv.insert(argv.end(), options.begin(), options.end());
        auto xvfb = std::make_unique<Process>(argv, std::vector<std::string>{}, dir + "/xvfb.out",
                                              dir + "/xvfb.err", fds[1]);
        close(fds[1]);
        const std::optional<std::string> display = ready_display(fds[0], std::chrono::seconds(10));
        close(fds[0]);
        if (display && xvfb->running()) {
            xvfb_ = std::move(xvfb);
            display_ = *display;
            return;
        }
        // Another server took this display first (or this one is stuck): try the next.
        failure_ = read_file(dir + "/xvfb.err");
    }
    if (failure_.empty()) failure_ = "no free display from :90 to :189";
}

std::vector<std::string> with_leak_suppressions(std::vector<std::string> environment) {
    const char* options = std::getenv("LSAN_OPTIONS");
    std::string value = options != nullptr ? std::string(options) + ":" : std::string();
    value += "print_suppressions=0:suppressions=" KORVELINE_SOURCE_DIR "/tests/desktop/lsan.supp";
    environment.push_back("LSAN_OPTIONS=" + value);
    return environment;
}

Desktop::Desktop(const XServer& x, const std::string& dir,
                 const std::vector<std::string>& environment)
    : display_(x.display()), dir_(dir), err_path_(dir + "/korveline.err") {
    // The picture's language is the program's default unless the test names one.
    std::vector<std::string> env{"KORVELINE_LANG"};
    for (std::string& setting : with_leak_suppressions(environment))
        env.push_back(std::move(setting));
    env.push_back("DISPLAY=" + display_);
    process_ = std::make_unique<Process>(std::vector<std::string>{korveline_program()}, env,
                                         dir + "/korveline.out", err_path_);
    const ShellRun found =
        shell("DISPLAY=" + display_ +
              " timeout 10 xdotool search --sync --name '^KORVELINE$' 2>/dev/null");
    std::istringstream lines(found.out);
    std::getline(lines, window_);
    window_ = trimmed(window_);
}

std::string Desktop::xdotool(const std::string& arguments) const {
    return trimmed(
        shell("DISPLAY=" + display_ + " timeout -k 1 10 xdotool " + arguments + " 2>&1").out);
}

void Desktop::click(int x, int y, int button) const {
    xdotool("mousemove --window " + window_ + " " + std::to_string(x) + " " + std::to_string(y) +
            " click " + std::to_string(button));
}

void Desktop::key(const std::string& keys) const {
    xdotool("mousemove --window " + window_ + " 600 540 key " + keys);
}

std::string Desktop::geometry() const {
    const std::string text = xdotool("getwindowgeometry " + window_);
    const auto at = text.find("Geometry: ");
    if (at == std::string::npos) return text;
    return trimmed(text.substr(at + 10));
}

kv::Framebuffer Desktop::screenshot() const {
    const std::string path = dir_ + "/shot" + std::to_string(shots_++) + ".png";
    shell("timeout -k 1 10 import -display " + display_ + " -window " + window_ +
          " png:" + quoted(path) + " >/dev/null 2>&1");
    try {
        return kv::image::read_png(path);
    } catch (const std::exception& e) {
        ADD_FAILURE() << "no screenshot: " << e.what();
        return kv::Framebuffer{};
    }
}

std::vector<std::uint32_t> Desktop::icon() const {
    std::vector<std::uint32_t> out;
    Display* display = XOpenDisplay(display_.c_str());
    if (display == nullptr) return out;
    const Window window = std::strtoul(window_.c_str(), nullptr, 0);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_ICON", False), 0, 1 << 20,
                           False, XA_CARDINAL, &type, &format, &count, &left, &data) == Success &&
        data != nullptr && format == 32 && count >= 2) {
        // Xlib hands 32-bit items over as longs.
        const auto* items = reinterpret_cast<const unsigned long*>(data);
        const unsigned long size = 2 + items[0] * items[1];
        for (unsigned long i = 0; i < std::min(count, size); ++i)
            out.push_back(static_cast<std::uint32_t>(items[i]));
    }
    if (data != nullptr) XFree(data);
    XCloseDisplay(display);
    return out;
}

void Desktop::close() const {
    shell("DISPLAY=" + display_ + " timeout -k 1 10 '" + std::string(X11_CLOSE_WINDOW_PROGRAM) +
          "' " + window_);
}

bool eventually(const Desktop& desktop, const std::function<bool(const kv::Framebuffer&)>& check,
                std::chrono::milliseconds within) {
    const auto end = std::chrono::steady_clock::now() + within;
    for (;;) {
        if (check(desktop.screenshot())) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

} // namespace kvtest
