// Fuzzes the script reader: any bytes give either commands within the language's ranges or one
// short error on a line the text has; the commands written back read back the same. The settings
// of each `lab` command go through the laboratory's validator, korveline-script's and the page's:
// a value it takes lies within its setting's range and reads back the same, one it refuses is told
// in a short message and changes nothing.
#include "backends/headless/script.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/script_text.h"
#include "tools/instruments/lab_settings.h"

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
    case Command::Kind::Lab:
        check(!c.settings.empty(), "a lab command has settings");
        for (const Command::Setting& s : c.settings) {
            check(!s.name.empty() && !s.value.empty(), "a setting has a name and a value");
            check(s.name.find_first_of("= \t") == std::string::npos &&
                      s.value.find_first_of(" \t") == std::string::npos,
                  "a setting is one word, its name without '='");
        }
        break;
    case Command::Kind::State:
    case Command::Kind::Close:
    case Command::Kind::TraceOff:
        break;
    }
}

bool same(const tagLabo& a, const tagLabo& b) {
    for (const kv::tools::LabSetting* s : kv::tools::AllLabSettings())
        if (s->get(a) != s->get(b)) return false;
    return a.ordre_inverse == b.ordre_inverse && a.ligne_ouverte == b.ligne_ouverte &&
           a.frequence == b.frequence && a.tension == b.tension && a.resistance == b.resistance &&
           a.loi_charge == b.loi_charge && a.paires_poles == b.paires_poles &&
           a.quatre_quadrants == b.quatre_quadrants;
}

bool in_range(const tagLabo& l) {
    for (const kv::tools::LabSetting* s : kv::tools::AllLabSettings()) {
        const double v = s->get(l);
        if (s->choices[0].empty() ? !(v >= s->min && v <= s->max)
                                  : !(v >= 0 && v < 5 && !s->choices[static_cast<int>(v)].empty()))
            return false;
    }
    return l.ligne_ouverte >= 0 && l.ligne_ouverte <= 3 && l.frequence >= 10 &&
           l.frequence <= 200 && l.tension >= 0 && l.tension <= 200 && l.resistance >= 0.25 &&
           l.resistance <= 8 && l.loi_charge >= CHARGE_CONSTANTE &&
           l.loi_charge <= CHARGE_ENTRAINANTE && l.paires_poles >= 1 && l.paires_poles <= 4;
}

void check_settings(const Command& c) {
    tagLabo labo;
    for (const Command::Setting& s : c.settings) {
        const tagLabo before = labo;
        const std::string error = kv::tools::SetLabSetting(s.name, s.value, labo);
        if (!error.empty()) {
            check(same(labo, before), "a refused setting changes nothing");
            check(error.size() < 300, "a short message");
            continue;
        }
        check(in_range(labo), "a setting taken lies within its range");
        tagLabo again;
        const std::string text = kv::tools::LabSettingsText(labo);
        for (const kv::tools::LabSetting* setting : kv::tools::AllLabSettings()) {
            check(
                kv::tools::SetLabSetting(setting->name, kv::tools::LabValue(*setting, labo), again)
                    .empty(),
                "a setting's value as written is taken back");
        }
        check(same(again, labo) && kv::tools::LabSettingsText(again) == text,
              "the settings as written read back the same");
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
        if (c.kind == Command::Kind::Lab) check_settings(c);
        check(c.kind != Command::Kind::Close || &c == &commands.back(), "close comes last");
    }

    auto again = hl::parse_script(kvfuzz::script_text(commands));
    const auto* reread = std::get_if<std::vector<Command>>(&again);
    check(reread != nullptr && *reread == commands, "the commands read back the same");
    return 0;
}
