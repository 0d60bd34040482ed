// Fuzzes the script reader: any bytes give either commands within the language's ranges or one
// short error on a line the text has; the commands written back read back the same.
#include "backends/headless/script.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/script_text.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using kv::headless::Command;
using kvfuzz::check;
namespace hl = kv::headless;

bool within(std::int64_t v, std::int64_t lo, std::int64_t hi) {
    return v >= lo && v <= hi;
}

bool coordinates_in_range(const Command& c) {
    return within(c.x, hl::kMinCoordinate, hl::kMaxCoordinate) &&
           within(c.y, hl::kMinCoordinate, hl::kMaxCoordinate);
}

bool path_is_trimmed(const std::string& path) {
    return !path.empty() && path.front() != ' ' && path.back() != ' ' &&
           path.find('\n') == std::string::npos;
}

void check_command(const Command& c) {
    switch (c.kind) {
    case Command::Kind::Tick:
        check(within(c.count, 0, hl::kMaxTicks), "tick count in range");
        break;
    case Command::Kind::Click:
    case Command::Kind::Pixel:
        check(coordinates_in_range(c), "coordinates in range");
        break;
    case Command::Kind::Expose:
        check(c.whole_area || (coordinates_in_range(c) && within(c.width, 0, hl::kMaxExposeSize) &&
                               within(c.height, 0, hl::kMaxExposeSize)),
              "expose rectangle in range");
        break;
    case Command::Kind::Resize:
        check(within(c.width, 0, hl::kMaxResize) && within(c.height, 0, hl::kMaxResize),
              "resize in range");
        break;
    case Command::Kind::Snapshot:
    case Command::Kind::Trace:
        check(path_is_trimmed(c.path), "path trimmed, on one line");
        break;
    case Command::Kind::Record:
        check(path_is_trimmed(c.path), "path trimmed, on one line");
        check(within(c.count, 1, hl::kMaxTicks), "record count in range");
        check(within(c.every, 1, hl::kMaxRecordEvery), "record interval in range");
        break;
    case Command::Kind::State:
    case Command::Kind::Close:
    case Command::Kind::TraceOff:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto lines = static_cast<std::int64_t>(std::count(text.begin(), text.end(), '\n')) + 1;

    auto parsed = hl::parse_script(text);
    if (const auto* error = std::get_if<hl::ParseError>(&parsed)) {
        check(within(error->line, 1, lines), "the error names a line of the text");
        check(!error->message.empty() && error->message.size() < 300, "a short error message");
        return 0;
    }

    const auto& commands = std::get<std::vector<Command>>(parsed);
    int previous_line = 0;
    for (const Command& c : commands) {
        check(c.line > previous_line && c.line <= lines, "commands in line order");
        previous_line = c.line;
        check_command(c);
        check(c.kind != Command::Kind::Close || &c == &commands.back(), "close comes last");
    }

    auto again = hl::parse_script(kvfuzz::script_text(commands));
    const auto* reread = std::get_if<std::vector<Command>>(&again);
    check(reread != nullptr && *reread == commands, "the commands read back the same");
    return 0;
}
