// korveline-soak-script TICKS [SEED]: writes the soak script to standard output and what it holds
// to standard error.
#include "tools/soak/soak_script.h"

#include <charconv>
#include <cstdint>
#include <iostream>
#include <string_view>

namespace {

bool parse(std::string_view text, std::uint64_t& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

} // namespace

int main(int argc, char** argv) {
    constexpr std::uint64_t kDefaultSeed = 20260101;
    std::uint64_t ticks = 0;
    std::uint64_t seed = kDefaultSeed;
    if (argc < 2 || argc > 3 || !parse(argv[1], ticks) || ticks > 1'000'000'000 ||
        (argc == 3 && !parse(argv[2], seed))) {
        std::cerr << "Usage: korveline-soak-script TICKS [SEED]\n";
        return 2;
    }
    kv::soak::SoakSummary s;
    std::cout << kv::soak::soak_script(static_cast<std::int64_t>(ticks), seed, s);
    std::cerr << "soak script: " << s.ticks << " Ticks, " << s.left_clicks << " left and "
              << s.right_clicks << " right clicks, " << s.exposes << " exposes, " << s.resizes
              << " resizes, largest window " << s.largest_area << " pixels (seed " << seed << ")\n";
    return std::cout ? 0 : 1;
}
