#include "fuzz/script_text.h"

namespace kvfuzz {

namespace {

using kv::headless::Command;

std::string numbers(std::initializer_list<std::int64_t> values) {
    std::string s;
    for (const std::int64_t v : values)
        s += ' ' + std::to_string(v);
    return s;
}

std::string command_text(const Command& c) {
    switch (c.kind) {
    case Command::Kind::Tick:
        return "tick" + numbers({c.count});
    case Command::Kind::Click:
        return std::string("click ") +
               (c.button == kv::InputEvent::Button::Left ? "left" : "right") + numbers({c.x, c.y});
    case Command::Kind::Expose:
        return c.whole_area ? "expose" : "expose" + numbers({c.x, c.y, c.width, c.height});
    case Command::Kind::Resize:
        return "resize" + numbers({c.width, c.height});
    case Command::Kind::Snapshot:
        return "snapshot " + c.path;
    case Command::Kind::Pixel:
        return "pixel" + numbers({c.x, c.y});
    case Command::Kind::State:
        return "state";
    case Command::Kind::Close:
        return "close";
    case Command::Kind::Record:
        // Always with its interval: the path may itself end in words like "every 2.gif".
        return "record " + c.path + numbers({c.count}) + " every" + numbers({c.every});
    case Command::Kind::Trace:
        return "trace " + c.path + (c.french_csv ? " fr" : "");
    case Command::Kind::Lab: {
        std::string text = "lab";
        for (const Command::Setting& s : c.settings)
            text += ' ' + s.name + '=' + s.value;
        return text;
    }
    case Command::Kind::TraceOff:
        return "trace off";
    }
    return "";
}

} // namespace

std::string script_text(const std::vector<Command>& commands) {
    std::string text;
    int line = 1;
    for (const Command& c : commands) {
        for (; line < c.line; ++line)
            text += '\n';
        text += command_text(c);
    }
    return text;
}

} // namespace kvfuzz
