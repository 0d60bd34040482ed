#include "backends/headless/script.h"

#include "core/utf8.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>

namespace kv::headless {

namespace {

// Thrown inside one line's parse; parse_script turns it into a ParseError for that line.
struct LineError {
    std::string message;
};

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

// Echoes a token in a message; a token may be a megabyte long, the message stays short.
std::string shown(std::string_view token) {
    return shortened(token, 40);
}

std::string quoted(std::string_view token) {
    return "'" + shown(token) + "'";
}

std::string hex_byte(unsigned char b) {
    constexpr std::string_view digits = "0123456789ABCDEF";
    return {'0', 'x', digits[b >> 4], digits[b & 0x0F]};
}

// A script is UTF-8 text; control characters other than tab mean it is not text at all.
void check_text(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size()) {
        const auto b = static_cast<unsigned char>(line[i]);
        std::size_t length = 1;
        if (b >= 0x80) length = Utf8Length(line.substr(i));
        const bool control = (b < 0x20 && b != '\t') || b == 0x7F;
        if (length == 0 || control) {
            throw LineError{"not valid text: byte " + hex_byte(b) + " at column " +
                            std::to_string(i + 1)};
        }
        i += length;
    }
}

// A '#' starts a comment only at the start of the line or after white space, so that paths
// such as "run#2.png" survive.
std::string_view strip_comment(std::string_view line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '#' && (i == 0 || is_blank(line[i - 1]))) return line.substr(0, i);
    }
    return line;
}

std::string_view trim(std::string_view s) {
    std::size_t first = 0;
    while (first < s.size() && is_blank(s[first]))
        ++first;
    std::size_t last = s.size();
    while (last > first && is_blank(s[last - 1]))
        --last;
    return s.substr(first, last - first);
}

std::vector<std::string_view> split(std::string_view s) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && is_blank(s[i]))
            ++i;
        const std::size_t start = i;
        while (i < s.size() && !is_blank(s[i]))
            ++i;
        if (i > start) words.push_back(s.substr(start, i - start));
    }
    return words;
}

// Plain decimal with an optional '-'. Digits beyond any valid range saturate, so a number of a
// million digits is still reported as out of range rather than overflowing.
std::int64_t number(std::string_view token, std::string_view what, std::int64_t min,
                    std::int64_t max) {
    const bool negative = token.starts_with('-');
    const std::string_view digits = negative ? token.substr(1) : token;
    if (digits.empty()) throw LineError{"malformed number " + quoted(token)};
    constexpr std::int64_t kSaturated = std::int64_t{1} << 40;
    std::int64_t magnitude = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') throw LineError{"malformed number " + quoted(token)};
        if (magnitude < kSaturated) magnitude = magnitude * 10 + (c - '0');
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < min || value > max) {
        throw LineError{std::string(what) + " " + shown(token) + " is outside " +
                        std::to_string(min) + ".." + std::to_string(max)};
    }
    return value;
}

std::int64_t coordinate(std::string_view token) {
    return number(token, "coordinate", kMinCoordinate, kMaxCoordinate);
}

using Args = std::vector<std::string_view>;

// Each command's parser: its line (without the comment), its name as typed, and the words after.
void parse_tick(std::string_view, std::string_view, const Args& args, Command& c) {
    if (args.size() > 1) throw LineError{"'tick' takes at most one argument"};
    c.count = args.empty() ? 1 : number(args[0], "count", 0, kMaxTicks);
}

void parse_click(std::string_view, std::string_view, const Args& args, Command& c) {
    if (args.empty()) throw LineError{"'click' needs a button (left or right)"};
    if (args[0] == "left") {
        c.button = InputEvent::Button::Left;
    } else if (args[0] == "right") {
        c.button = InputEvent::Button::Right;
    } else {
        throw LineError{"unknown button " + quoted(args[0]) + " (left or right)"};
    }
    if (args.size() != 3) throw LineError{"'click' takes a button, X and Y"};
    c.x = coordinate(args[1]);
    c.y = coordinate(args[2]);
}

void parse_expose(std::string_view, std::string_view, const Args& args, Command& c) {
    if (args.empty()) {
        c.whole_area = true;
        return;
    }
    if (args.size() != 4) throw LineError{"'expose' takes no arguments or X Y W H"};
    c.x = coordinate(args[0]);
    c.y = coordinate(args[1]);
    c.width = number(args[2], "size", 0, kMaxExposeSize);
    c.height = number(args[3], "size", 0, kMaxExposeSize);
}

void parse_resize(std::string_view, std::string_view, const Args& args, Command& c) {
    if (args.size() != 2) throw LineError{"'resize' takes W and H"};
    c.width = number(args[0], "size", 0, kMaxResize);
    c.height = number(args[1], "size", 0, kMaxResize);
}

void parse_pixel(std::string_view, std::string_view, const Args& args, Command& c) {
    if (args.size() != 2) throw LineError{"'pixel' takes X and Y"};
    c.x = coordinate(args[0]);
    c.y = coordinate(args[1]);
}

// The raw text of `line` from `from` up to `to` (both within it), trimmed: paths keep their spaces.
std::string raw_between(std::string_view line, const char* from, const char* to) {
    const auto start = static_cast<std::size_t>(from - line.data());
    const auto end = static_cast<std::size_t>(to - line.data());
    return std::string(trim(line.substr(start, end - start)));
}

std::string raw_rest(std::string_view line, std::string_view name) {
    return raw_between(line, name.data() + name.size(), line.data() + line.size());
}

bool ends_with_ignoring_case(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size()) return false;
    const std::string_view tail = text.substr(text.size() - suffix.size());
    return std::equal(tail.begin(), tail.end(), suffix.begin(), [](char a, char b) {
        return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
    });
}

// A file's kind follows from its command, and its name must say so: "out.gif" for a trace would
// be a CSV file that every program opens wrongly.
void check_extension(const std::string& path, std::string_view extension, std::string_view name) {
    if (path.empty()) throw LineError{"'" + std::string(name) + "' needs a path"};
    if (!ends_with_ignoring_case(path, extension)) {
        throw LineError{"'" + std::string(name) + "' needs a path ending in " +
                        std::string(extension) + ", not " + quoted(path)};
    }
}

// record PATH N [every K]: read from the end, so that the path may hold spaces.
void parse_record(std::string_view line, std::string_view name, const Args& args, Command& c) {
    std::size_t end = args.size();
    if (end >= 3 && args[end - 2] == "every") {
        c.every = number(args[end - 1], "interval", 1, kMaxRecordEvery);
        end -= 2;
    }
    if (end < 2) throw LineError{"'record' takes PATH N [every K]"};
    const std::string_view count = args[end - 1];
    c.path = raw_between(line, name.data() + name.size(), count.data());
    if (ends_with_ignoring_case(count, ".gif"))
        throw LineError{"'record' needs a number of Ticks after the path"};
    c.count = number(count, "count", 1, kMaxTicks);
    check_extension(c.path, ".gif", "record");
}

void parse_trace(std::string_view line, std::string_view name, const Args& args, Command& c) {
    if (args.size() == 1 && args[0] == "off") {
        c.kind = Command::Kind::TraceOff;
        return;
    }
    if (args.empty()) throw LineError{"'trace' needs a path or 'off'"};
    if (args.size() >= 2 && args.back() == "fr") {
        c.french_csv = true;
        c.path = raw_between(line, name.data() + name.size(), args.back().data());
    } else {
        c.path = raw_rest(line, name);
    }
    check_extension(c.path, ".csv", "trace");
}

// lab NAME=VALUE ...: which names and values count is the program's business; here only the form.
void parse_lab(std::string_view, std::string_view, const Args& args, Command& c) {
    if (args.empty()) throw LineError{"'lab' needs settings NAME=VALUE"};
    for (const std::string_view word : args) {
        const std::size_t equals = word.find('=');
        if (equals == 0 || equals == std::string_view::npos || equals + 1 == word.size())
            throw LineError{"'lab' takes settings NAME=VALUE, not " + quoted(word)};
        c.settings.push_back(
            {std::string(word.substr(0, equals)), std::string(word.substr(equals + 1))});
    }
}

// The path is the raw rest of the line, so that it may hold spaces.
void parse_snapshot(std::string_view line, std::string_view name, const Args&, Command& c) {
    c.path = raw_rest(line, name);
    check_extension(c.path, ".png", "snapshot");
}

void no_arguments(std::string_view, std::string_view name, const Args& args, Command&) {
    if (!args.empty()) throw LineError{"'" + std::string(name) + "' takes no arguments"};
}

struct Keyword {
    std::string_view name;
    Command::Kind kind;
    void (*parse)(std::string_view line, std::string_view name, const Args& args, Command& c);
};

constexpr std::array<Keyword, 11> kKeywords{{
    {"tick", Command::Kind::Tick, parse_tick},
    {"click", Command::Kind::Click, parse_click},
    {"expose", Command::Kind::Expose, parse_expose},
    {"resize", Command::Kind::Resize, parse_resize},
    {"snapshot", Command::Kind::Snapshot, parse_snapshot},
    {"pixel", Command::Kind::Pixel, parse_pixel},
    {"state", Command::Kind::State, no_arguments},
    {"close", Command::Kind::Close, no_arguments},
    {"record", Command::Kind::Record, parse_record},
    {"trace", Command::Kind::Trace, parse_trace},
    {"lab", Command::Kind::Lab, parse_lab},
}};

// One line without its comment; nothing if it is blank.
std::optional<Command> parse_line(std::string_view line) {
    const std::vector<std::string_view> words = split(line);
    if (words.empty()) return std::nullopt;
    const std::string_view name = words.front();
    const Args args(words.begin() + 1, words.end());

    Command c;
    const auto* keyword = std::find_if(kKeywords.begin(), kKeywords.end(),
                                       [name](const Keyword& k) { return k.name == name; });
    if (keyword == kKeywords.end()) throw LineError{"unknown command " + quoted(name)};
    c.kind = keyword->kind;
    keyword->parse(line, name, args, c);
    return c;
}

} // namespace

std::variant<std::vector<Command>, ParseError> parse_script(std::string_view text) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());

    std::vector<Command> commands;
    bool closed = false;
    int line_number = 0;
    while (!text.empty()) {
        ++line_number;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);

        try {
            check_text(line);
            const std::string_view content = strip_comment(line);
            if (closed && !trim(content).empty()) throw LineError{"nothing may follow 'close'"};
            std::optional<Command> command = parse_line(content);
            if (!command) continue;
            command->line = line_number;
            closed = command->kind == Command::Kind::Close;
            commands.push_back(std::move(*command));
        } catch (const LineError& e) {
            return ParseError{line_number, e.message};
        }
    }
    return commands;
}

} // namespace kv::headless
