// splitmix64: tiny, fast, and the same sequence everywhere (unlike <random>'s distributions, whose
// results differ between standard libraries).
#pragma once

#include <cstdint>

namespace kv::soak {

class RandomSource {
  public:
    explicit RandomSource(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15u);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        return z ^ (z >> 31);
    }

    // Uniform in [lo, hi] (the modulo bias is far below anything a soak could notice).
    std::int64_t between(std::int64_t lo, std::int64_t hi) {
        const auto span = static_cast<std::uint64_t>(hi - lo) + 1;
        return lo + static_cast<std::int64_t>(next() % span);
    }

    // True once in `n` draws on average.
    bool one_in(std::uint64_t n) { return next() % n == 0; }

  private:
    std::uint64_t state_;
};

} // namespace kv::soak
