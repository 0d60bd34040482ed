#include "backends/headless/script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace kv::headless {
namespace {

using Kind = Command::Kind;
using Button = InputEvent::Button;

std::vector<Command> commands_of(std::string_view text) {
    auto result = parse_script(text);
    if (const auto* error = std::get_if<ParseError>(&result)) {
        ADD_FAILURE() << "line " << error->line << ": " << error->message;
        return {};
    }
    return std::get<std::vector<Command>>(result);
}

ParseError error_of(std::string_view text) {
    auto result = parse_script(text);
    if (const auto* error = std::get_if<ParseError>(&result)) return *error;
    ADD_FAILURE() << "parsed without error: " << text.substr(0, 60);
    return {};
}

// Expected commands, read from line 1 unless moved with at().
Command make(Kind kind) {
    Command c;
    c.kind = kind;
    c.line = 1;
    return c;
}
Command tick(std::int64_t count) {
    Command c = make(Kind::Tick);
    c.count = count;
    return c;
}
Command click(Button button, std::int64_t x, std::int64_t y) {
    Command c = make(Kind::Click);
    c.button = button;
    c.x = x;
    c.y = y;
    return c;
}
Command pixel(std::int64_t x, std::int64_t y) {
    Command c = make(Kind::Pixel);
    c.x = x;
    c.y = y;
    return c;
}
Command expose_all() {
    Command c = make(Kind::Expose);
    c.whole_area = true;
    return c;
}
Command expose(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h) {
    Command c = pixel(x, y);
    c.kind = Kind::Expose;
    c.width = w;
    c.height = h;
    return c;
}
Command resize(std::int64_t w, std::int64_t h) {
    Command c = make(Kind::Resize);
    c.width = w;
    c.height = h;
    return c;
}
Command snapshot(std::string path) {
    Command c = make(Kind::Snapshot);
    c.path = std::move(path);
    return c;
}
Command record(std::string path, std::int64_t count, std::int64_t every = 1) {
    Command c = make(Kind::Record);
    c.path = std::move(path);
    c.count = count;
    c.every = every;
    return c;
}
Command trace(std::string path) {
    Command c = make(Kind::Trace);
    c.path = std::move(path);
    return c;
}
Command french_trace(std::string path) {
    Command c = trace(std::move(path));
    c.french_csv = true;
    return c;
}
Command lab(std::vector<Command::Setting> settings) {
    Command c = make(Kind::Lab);
    c.settings = std::move(settings);
    return c;
}
Command at(int line, Command c) {
    c.line = line;
    return c;
}

struct GoodLine {
    std::string text;
    Command expected;
};

TEST(ScriptParser, ReadsEachCommandForm) {
    const GoodLine cases[] = {
        {"tick", tick(1)},
        {"tick 0", tick(0)},
        {"tick 10000000", tick(10'000'000)},
        {" \ttick\t 3  ", tick(3)},
        {"tick 2\r", tick(2)},
        {"tick 4 # four", tick(4)},
        {"click left 10 20", click(Button::Left, 10, 20)},
        {"click right -32768 65535", click(Button::Right, -32768, 65535)},
        {"pixel -0 007", pixel(0, 7)},
        {"expose", expose_all()},
        {"expose -5 2 65535 0", expose(-5, 2, 65535, 0)},
        {"resize 0 8192", resize(0, 8192)},
        {"snapshot out/a b.png", snapshot("out/a b.png")},
        {"snapshot \t run#2.png  # the second", snapshot("run#2.png")},
        {"snapshot frame é.png", snapshot("frame é.png")},
        {"snapshot UPPER.PNG", snapshot("UPPER.PNG")},
        {"record run.gif 200", record("run.gif", 200)},
        {"record  my run 2.gif\t30 every 4 # slides", record("my run 2.gif", 30, 4)},
        {"record every.gif 10000000 every 13107", record("every.gif", 10'000'000, 13107)},
        {"trace out/run up.csv", trace("out/run up.csv")},
        {"trace off", make(Kind::TraceOff)},
        {"trace off.csv", trace("off.csv")},
        {"trace out/run up.csv fr", french_trace("out/run up.csv")},
        {"trace fr.csv", trace("fr.csv")},
        {"lab order=reversed", lab({{"order", "reversed"}})},
        {"lab  a=1\tb==2 a=3 # later wins", lab({{"a", "1"}, {"b", "=2"}, {"a", "3"}})},
        {"state", make(Kind::State)},
        {"close", make(Kind::Close)},
        {"\xEF\xBB\xBFstate", make(Kind::State)},
    };
    for (const GoodLine& c : cases) {
        SCOPED_TRACE(c.text);
        const std::vector<Command> commands = commands_of(c.text);
        ASSERT_EQ(commands.size(), 1u);
        EXPECT_EQ(commands[0], c.expected);
    }
}

TEST(ScriptParser, SkipsCommentsAndBlankLinesAndKeepsLineNumbers) {
    const std::vector<Command> commands =
        commands_of("# a script\r\n\r\n   \t\n tick 2 # two\r\nstate\t# one\n#close\nclose");
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[0], at(4, tick(2)));
    EXPECT_EQ(commands[1], at(5, make(Kind::State)));
    EXPECT_EQ(commands[2], at(7, make(Kind::Close)));
    EXPECT_TRUE(commands_of("").empty());
    EXPECT_TRUE(commands_of("\n\n# nothing\n").empty());
}

struct BadScript {
    std::string text;
    ParseError expected;
};

TEST(ScriptParser, ReportsTheFirstErrorWithItsLine) {
    const BadScript cases[] = {
        {"tock", {1, "unknown command 'tock'"}},
        {"TICK", {1, "unknown command 'TICK'"}},
        {"tick# no space before the hash", {1, "unknown command 'tick#'"}},
        {"tick 1 2", {1, "'tick' takes at most one argument"}},
        {"tick 10000001", {1, "count 10000001 is outside 0..10000000"}},
        {"tick -1", {1, "count -1 is outside 0..10000000"}},
        {"tick 99999999999999999999999",
         {1, "count 99999999999999999999999 is outside 0..10000000"}},
        {"tick 1e3", {1, "malformed number '1e3'"}},
        {"tick +3", {1, "malformed number '+3'"}},
        {"tick -", {1, "malformed number '-'"}},
        {"tick 0x10", {1, "malformed number '0x10'"}},
        {"pixel 1.5 2", {1, "malformed number '1.5'"}},
        {"click", {1, "'click' needs a button (left or right)"}},
        {"click middle 1 2", {1, "unknown button 'middle' (left or right)"}},
        {"click left 1", {1, "'click' takes a button, X and Y"}},
        {"click left 70000 0", {1, "coordinate 70000 is outside -32768..65535"}},
        {"pixel 0 -32769", {1, "coordinate -32769 is outside -32768..65535"}},
        {"pixel 1", {1, "'pixel' takes X and Y"}},
        {"expose 1 2 3", {1, "'expose' takes no arguments or X Y W H"}},
        {"expose 0 0 65536 1", {1, "size 65536 is outside 0..65535"}},
        {"resize 9000 10", {1, "size 9000 is outside 0..8192"}},
        {"resize 10 -1", {1, "size -1 is outside 0..8192"}},
        {"resize 640", {1, "'resize' takes W and H"}},
        {"snapshot", {1, "'snapshot' needs a path"}},
        {"snapshot  \t # only a comment", {1, "'snapshot' needs a path"}},
        {"snapshot out.gif", {1, "'snapshot' needs a path ending in .png, not 'out.gif'"}},
        {"snapshot .png/x", {1, "'snapshot' needs a path ending in .png, not '.png/x'"}},
        {"record", {1, "'record' takes PATH N [every K]"}},
        {"record run.gif", {1, "'record' takes PATH N [every K]"}},
        {"record my run.gif", {1, "'record' needs a number of Ticks after the path"}},
        {"record run.gif every 2", {1, "'record' takes PATH N [every K]"}},
        {"record run.gif 0", {1, "count 0 is outside 1..10000000"}},
        {"record run.gif ten", {1, "malformed number 'ten'"}},
        {"record run.png 10", {1, "'record' needs a path ending in .gif, not 'run.png'"}},
        {"record run.gif 10 every 0", {1, "interval 0 is outside 1..13107"}},
        {"record run.gif 10 every 13108", {1, "interval 13108 is outside 1..13107"}},
        {"record run.gif 10 each 2",
         {1, "'record' needs a path ending in .gif, not 'run.gif 10 each'"}},
        {"trace", {1, "'trace' needs a path or 'off'"}},
        {"trace run.txt", {1, "'trace' needs a path ending in .csv, not 'run.txt'"}},
        {"trace off now", {1, "'trace' needs a path ending in .csv, not 'off now'"}},
        {"trace run.csv de", {1, "'trace' needs a path ending in .csv, not 'run.csv de'"}},
        {"trace fr", {1, "'trace' needs a path ending in .csv, not 'fr'"}},
        {"lab", {1, "'lab' needs settings NAME=VALUE"}},
        {"lab order", {1, "'lab' takes settings NAME=VALUE, not 'order'"}},
        {"lab order=reversed =5", {1, "'lab' takes settings NAME=VALUE, not '=5'"}},
        {"lab voltage=", {1, "'lab' takes settings NAME=VALUE, not 'voltage='"}},
        {"state now", {1, "'state' takes no arguments"}},
        {"close 0", {1, "'close' takes no arguments"}},
        {"tick\n\n# c\nclick left 1\ntock\n", {4, "'click' takes a button, X and Y"}},
        {"tick\nclose\n\n  # fine\r\n\ntick\n", {6, "nothing may follow 'close'"}},
        {"close\nclose", {2, "nothing may follow 'close'"}},
        {"tick\rtick", {1, "not valid text: byte 0x0D at column 5"}},
        {std::string("tick\n# \0\n", 9), {2, "not valid text: byte 0x00 at column 3"}},
        {"tick 3\xFF\n", {1, "not valid text: byte 0xFF at column 7"}},
        {"snapshot \xC0\xAF.png", {1, "not valid text: byte 0xC0 at column 10"}},     // overlong
        {"snapshot \xED\xA0\x80.png", {1, "not valid text: byte 0xED at column 10"}}, // surrogate
        {"snapshot \xE0\x9F\xBF", {1, "not valid text: byte 0xE0 at column 10"}},     // overlong
        {"snapshot \xF4\x90\x80\x80", {1, "not valid text: byte 0xF4 at column 10"}}, // > U+10FFFF
        {"snapshot \xE2\x82", {1, "not valid text: byte 0xE2 at column 10"}},         // cut short
    };
    for (const BadScript& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(error_of(c.text), c.expected);
    }
}

TEST(ScriptParser, HandlesMegabyteLines) {
    const std::string megabyte(1 << 20, '0');
    EXPECT_EQ(commands_of("tick " + megabyte + "5")[0].count, 5);
    EXPECT_EQ(commands_of(std::string(1 << 20, ' ') + "state").size(), 1u);
    EXPECT_EQ(commands_of("snapshot " + std::string(1 << 20, 'p') + ".png")[0].path.size(),
              (std::size_t{1} << 20) + 4);
    EXPECT_EQ(error_of("trace " + std::string(1 << 20, 'p')).message,
              "'trace' needs a path ending in .csv, not '" + std::string(40, 'p') + "...'");
    EXPECT_EQ(error_of("tick 1" + megabyte).message,
              "count 1" + std::string(39, '0') + "... is outside 0..10000000");
    EXPECT_EQ(error_of(std::string(1 << 20, 'a')).message,
              "unknown command '" + std::string(40, 'a') + "...'");
    std::string many_ticks;
    for (int i = 0; i < 200'000; ++i)
        many_ticks += "tick ";
    EXPECT_EQ(error_of(many_ticks).message, "'tick' takes at most one argument");
}

TEST(ScriptParser, SurvivesGarbage) {
    // Raw bytes, and bytes drawn from the language's own alphabet so that every branch of the
    // parser sees nonsense.
    const std::string alphabet = "tick click left right expose pixel close 0123456789-+#\t\r\n";
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<std::size_t> letter(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(1, 400);
    for (int round = 0; round < 4000; ++round) {
        std::string text;
        const int n = length(random);
        for (int i = 0; i < n; ++i) {
            text += round % 2 == 0 ? static_cast<char>(byte(random)) : alphabet[letter(random)];
        }
        const auto result = parse_script(text);
        if (const auto* error = std::get_if<ParseError>(&result)) {
            EXPECT_GE(error->line, 1);
            EXPECT_LE(error->line, std::count(text.begin(), text.end(), '\n') + 1);
            EXPECT_FALSE(error->message.empty());
        }
    }
}

} // namespace
} // namespace kv::headless
