// The language of scripted runs: one command a line, parsed completely before anything plays.
//
//   tick [N]            N timer ticks of 50 ms of virtual time (default 1)
//   click left|right X Y
//   expose [X Y W H]    the whole client area, or that rectangle
//   resize W H
//   snapshot PATH       PATH is the rest of the line, trimmed; it must end in .png
//   record PATH N [every K]  N Ticks, recorded as an animated GIF; PATH ends in .gif
//   trace PATH [fr] | trace off   one CSV row per Tick from now on; PATH ends in .csv; fr: the
//                       French convention (';' between fields, decimal commas)
//   lab NAME=VALUE [NAME=VALUE ...]   settings for the program, which says which it takes
//   pixel X Y
//   state
//   close               must be the last command
//
// `#` at the start of a line or after white space starts a comment. Numbers are plain decimal
// integers with an optional '-'.
#pragma once

#include "user/backend.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kv::headless {

struct Command {
    enum class Kind {
        Tick,
        Click,
        Expose,
        Resize,
        Snapshot,
        Pixel,
        State,
        Close,
        Record,
        Trace,
        TraceOff,
        Lab
    };

    struct Setting {
        std::string name;
        std::string value;
        bool operator==(const Setting&) const = default;
    };

    Kind kind = Kind::Tick;
    int line = 0;                                         // where it came from, 1-based
    std::int64_t count = 0;                               // Tick, Record
    std::int64_t every = 1;                               // Record: a frame every K Ticks
    InputEvent::Button button = InputEvent::Button::Left; // Click
    std::int64_t x = 0;                                   // Click, Pixel, Expose
    std::int64_t y = 0;                                   // Click, Pixel, Expose
    std::int64_t width = 0;                               // Expose, Resize
    std::int64_t height = 0;                              // Expose, Resize
    bool whole_area = false;                              // Expose without a rectangle
    std::string path;                                     // Snapshot, Record, Trace
    bool french_csv = false;                              // Trace
    std::vector<Setting> settings;                        // Lab, in the line's order

    bool operator==(const Command&) const = default;
};

struct ParseError {
    int line = 0;
    std::string message;

    bool operator==(const ParseError&) const = default;
};

inline constexpr std::int64_t kMinCoordinate = -32768;
inline constexpr std::int64_t kMaxCoordinate = 65535;
inline constexpr std::int64_t kMaxExposeSize = 65535;
inline constexpr std::int64_t kMaxResize = 8192;
inline constexpr std::int64_t kMaxTicks = 10'000'000;
// A GIF frame shows for at most 65535 hundredths of a second: 13107 Ticks of 5.
inline constexpr std::int64_t kMaxRecordEvery = 13107;

// The commands, or the first error.
std::variant<std::vector<Command>, ParseError> parse_script(std::string_view text);

} // namespace kv::headless
