// The laboratory's settings on a command line: --lab NAME=VALUE [NAME=VALUE ...], or
// --lab=NAME=VALUE, as many times as wanted.
#pragma once

#include "model/labo.h"
#include "tools/common/lab_settings.h"

#include <string>
#include <string_view>
#include <vector>

namespace kv::tools {

// Takes every --lab option and its settings out of `args` and sets them in `labo`, in order.
// Returns what is wrong, or an empty string.
inline std::string take_lab_option(std::vector<std::string>& args, tagLabo& labo) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        std::vector<std::string> pairs;
        if (arg.starts_with("--lab=")) {
            pairs.emplace_back(arg.substr(6));
        } else if (arg == "--lab") {
            while (i + 1 < args.size() && !args[i + 1].starts_with("-"))
                pairs.push_back(args[++i]);
            if (pairs.empty()) return "--lab needs settings NAME=VALUE";
        } else {
            rest.push_back(args[i]);
            continue;
        }
        for (const std::string& pair : pairs) {
            if (std::string error = SetLabPair(pair, labo); !error.empty())
                return "--lab: " + error;
        }
    }
    args = std::move(rest);
    return {};
}

} // namespace kv::tools
