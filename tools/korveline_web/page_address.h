// The page's address, as the page takes it at start: its laboratory settings
// (index.html?order=reversed&frequency=50) set in the program, and the start state a link asks
// for (supply=on, show=left,rotor, brake=5; brake=-2 under a driving load) turned into the
// clicks a user would make. The pairs
// are read as the browser's URLSearchParams reads them (split at '&', empty ones skipped, '+' a
// space, %XX a byte, bytes that are no UTF-8 a U+FFFD), so that the page's messages can name
// each pair by its place among the browser's own. No value read here goes back to the page: a
// refusal names the pair by its place.
#pragma once

#include "model/labo.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::web {

struct AddressPair {
    std::string name;
    std::string value;
};

// The pairs of `query` (what follows '?', with or without it), in order.
std::vector<AddressPair> AddressPairs(std::string_view query);

// What the address does.
struct AddressPlan {
    // The pairs refused, by their place, in order: a name that is neither a setting nor a start
    // state, or a setting with a value it does not take (left at its default).
    struct Refused {
        std::size_t pair;
        bool unknown_name;
    };
    std::vector<Refused> refused;
    // The clicks that give the start state, in order, by the regions' codes (shell/zones.h):
    // "alim", "coil1" ... "rotor", "brake".
    std::vector<std::string> clicks;
    // Right clicks after them: a driving load's brake below zero.
    std::vector<std::string> right_clicks;
    // Start states refused: the pair's place, and for `show`, which of its comma-separated
    // parts (none for supply and brake).
    std::vector<std::pair<std::size_t, std::optional<std::size_t>>> refused_start;
};

// Reads `query`, sets its laboratory settings in `labo` in order (each one alone: a bad one
// leaves the others), and plans the start. `lang` and `look` are the page's own and pass here.
AddressPlan ReadAddress(std::string_view query, tagLabo& labo);

// The plan as the page reads it, in JSON: {"refused": [{"pair": K, "unknown": true}, ...],
// "clicks": ["alim", ...], "rightClicks": ["brake", ...], "refusedStart": [{"pair": K, "part":
// J}, ...]}, "rightClicks" when there are some, "part" for `show` only.
std::string AddressPlanJson(const AddressPlan& plan);

} // namespace kv::web
