#include "tools/korveline_web/page_address.h"

#include "core/utf8.h"
#include "tools/instruments/lab_settings.h"
#include "tools/korveline_web/page_json.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace kv::web {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD
// Names that are not settings: the page's own, then the start state's.
constexpr std::string_view kOtherNames[] = {"lang", "look", "supply", "show", "brake"};
// The fields a link may show, by where they are in the picture, and the click on each.
constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kShown{{
    {"left", "coil1"},
    {"upper-right", "coil2"},
    {"lower-right", "coil3"},
    {"rotor", "rotor"},
}};
constexpr int kMostBrakeClicks = 200; // brake 100, in steps of 0.5

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// '+' a space, %XX its byte (a '%' without two hex digits stays), then no invalid UTF-8.
std::string decode(std::string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            bytes += ' ';
        } else if (text[i] == '%' && i + 2 < text.size() && hex_digit(text[i + 1]) >= 0 &&
                   hex_digit(text[i + 2]) >= 0) {
            bytes += static_cast<char>(hex_digit(text[i + 1]) * 16 + hex_digit(text[i + 2]));
            i += 2;
        } else {
            bytes += text[i];
        }
    }
    std::string valid;
    for (std::string_view rest = bytes; !rest.empty();) {
        std::size_t bad = 1;
        const std::size_t length = Utf8Length(rest, bad);
        if (length > 0) {
            valid.append(rest.substr(0, length));
            rest.remove_prefix(length);
        } else {
            valid.append(kReplacement);
            rest.remove_prefix(bad);
        }
    }
    return valid;
}

// The first pair of this name, as URLSearchParams.get gives it.
std::optional<std::size_t> first(const std::vector<AddressPair>& pairs, std::string_view name) {
    for (std::size_t k = 0; k < pairs.size(); ++k) {
        if (pairs[k].name == name) return k;
    }
    return std::nullopt;
}

// Digits, optionally a point and more digits, a whole number of half steps up to 100; with a
// leading '-' where the load may drive (right clicks then), as many steps below zero.
std::optional<int> brake_clicks(std::string_view value, bool signed_brake) {
    const bool negative = signed_brake && value.starts_with('-');
    if (negative) value.remove_prefix(1);
    const std::size_t point = value.find('.');
    const std::string_view whole = value.substr(0, point);
    const std::string_view decimals =
        point == std::string_view::npos ? std::string_view{} : value.substr(point + 1);
    const auto digits = [](std::string_view s) {
        return !s.empty() &&
               std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!digits(whole) || (point != std::string_view::npos && !digits(decimals)))
        return std::nullopt;
    const double steps = 2 * std::strtod(std::string(value).c_str(), nullptr);
    if (!(steps <= kMostBrakeClicks) || std::floor(steps) != steps) return std::nullopt;
    return negative ? -static_cast<int>(steps) : static_cast<int>(steps);
}

} // namespace

std::vector<AddressPair> AddressPairs(std::string_view query) {
    if (query.starts_with('?')) query.remove_prefix(1);
    std::vector<AddressPair> pairs;
    for (;;) {
        const std::size_t amp = query.find('&');
        const std::string_view part = query.substr(0, amp);
        if (!part.empty()) {
            const std::size_t equals = part.find('=');
            pairs.push_back(
                {decode(part.substr(0, equals)),
                 equals == std::string_view::npos ? "" : decode(part.substr(equals + 1))});
        }
        if (amp == std::string_view::npos) break;
        query.remove_prefix(amp + 1);
    }
    return pairs;
}

AddressPlan ReadAddress(std::string_view query, tagLabo& labo) {
    const std::vector<AddressPair> pairs = AddressPairs(query);
    AddressPlan plan;
    for (std::size_t k = 0; k < pairs.size(); ++k) {
        const AddressPair& p = pairs[k];
        if (tools::FindLabSetting(p.name) == nullptr) {
            const auto* other = std::find(std::begin(kOtherNames), std::end(kOtherNames), p.name);
            if (other == std::end(kOtherNames)) plan.refused.push_back({k, true});
            continue;
        }
        if (!tools::SetLabSetting(p.name, p.value, labo).empty())
            plan.refused.push_back({k, false});
    }
    if (const std::optional<std::size_t> k = first(pairs, "supply")) {
        if (pairs[*k].value == "on") {
            plan.clicks.emplace_back("alim");
        } else if (pairs[*k].value != "off") {
            plan.refused_start.emplace_back(*k, std::nullopt);
        }
    }
    if (const std::optional<std::size_t> k = first(pairs, "show")) {
        const std::string_view list = pairs[*k].value;
        std::size_t j = 0;
        for (std::size_t start = 0;; ++j) {
            const std::size_t comma = list.find(',', start);
            const std::string_view part = list.substr(start, comma - start);
            const auto shown = std::find_if(kShown.begin(), kShown.end(),
                                            [&](const auto& s) { return s.first == part; });
            if (shown != kShown.end()) {
                plan.clicks.emplace_back(shown->second);
            } else {
                plan.refused_start.emplace_back(*k, j);
            }
            if (comma == std::string_view::npos) break;
            start = comma + 1;
        }
    }
    if (const std::optional<std::size_t> k = first(pairs, "brake")) {
        if (const std::optional<int> clicks =
                brake_clicks(pairs[*k].value, labo.loi_charge == CHARGE_ENTRAINANTE)) {
            std::vector<std::string>& list = *clicks < 0 ? plan.right_clicks : plan.clicks;
            list.insert(list.end(), static_cast<std::size_t>(std::abs(*clicks)), "brake");
        } else {
            plan.refused_start.emplace_back(*k, std::nullopt);
        }
    }
    return plan;
}

std::string AddressPlanJson(const AddressPlan& plan) {
    json::Writer w;
    w.begin_object().key("refused").begin_array();
    for (const AddressPlan::Refused& r : plan.refused) {
        w.begin_object().key("pair").number(static_cast<double>(r.pair));
        w.key("unknown").boolean(r.unknown_name).end_object();
    }
    w.end_array().key("clicks").begin_array();
    for (const std::string& click : plan.clicks)
        w.text(click);
    w.end_array();
    if (!plan.right_clicks.empty()) {
        w.key("rightClicks").begin_array();
        for (const std::string& click : plan.right_clicks)
            w.text(click);
        w.end_array();
    }
    w.key("refusedStart").begin_array();
    for (const auto& [k, part] : plan.refused_start) {
        w.begin_object().key("pair").number(static_cast<double>(k));
        if (part) w.key("part").number(static_cast<double>(*part));
        w.end_object();
    }
    w.end_array().end_object();
    return w.str();
}

} // namespace kv::web
