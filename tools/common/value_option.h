// An option of one value on a command line: --NAME VALUE, or --NAME=VALUE.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kv::tools {

// Takes every `option` ("--lang") and its value out of `args` (the last one counts). Returns
// `missing` for one given without a value, or an empty string; `value` stays empty when the
// option was not given.
inline std::string take_value_option(std::vector<std::string>& args, std::string_view option,
                                     std::string& value, const std::string& missing) {
    const std::string with_value = std::string(option) + "=";
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg.starts_with(with_value)) {
            value = arg.substr(with_value.size());
        } else if (arg == option && i + 1 < args.size()) {
            value = args[++i];
        } else if (arg == option) {
            value.clear();
        } else {
            rest.push_back(args[i]);
            continue;
        }
        if (value.empty()) return missing;
    }
    args = std::move(rest);
    return {};
}

} // namespace kv::tools
