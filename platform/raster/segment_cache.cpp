#include "raster/segment_cache.h"

#include <algorithm>
#include <utility>

namespace kv::raster {

namespace {

// Fibonacci hashing: the key's bits spread over the table's index.
std::size_t index_of(std::uint32_t key, std::size_t size) {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ULL) >> 32) & (size - 1);
}

} // namespace

SegmentCache::Slot& SegmentCache::slot_for(std::uint32_t key) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = index_of(key, slots_.size());; i = (i + 1) & mask) {
        Slot& slot = slots_[i];
        if (slot.key == key || slot.key == 0) return slot;
    }
}

const SegmentCache::Kept* SegmentCache::find(std::int64_t dx, std::int64_t dy, int width) {
    if (used_ == 0) return nullptr;
    const Slot& slot = slot_for(key(dx, dy, width));
    if (slot.key == 0) return nullptr;
    const Header& header = headers_[slot.header];
    found_ = {Span{header.rows.lo, header.rows.hi},
              std::span<const Run>(runs_).subspan(header.first_run, header.count)};
    return &found_;
}

// Kept at most half full, so that a search ends soon on an empty slot.
void SegmentCache::grow() {
    std::vector<Slot> old =
        std::exchange(slots_, std::vector<Slot>(std::max<std::size_t>(256, 2 * slots_.size())));
    for (const Slot& slot : old) {
        if (slot.key != 0) slot_for(slot.key) = slot;
    }
}

SegmentCache::Recording::Recording(SegmentCache& cache, std::uint32_t key, const Rect& area)
    : cache_(cache), key_(key), area_(area) {
    if (cache_.runs_.size() >= cache_.max_runs_ || cache_.headers_.size() >= cache_.max_segments_) {
        cache_.runs_.clear();
        cache_.headers_.clear();
        cache_.slots_.clear();
        cache_.used_ = 0;
    }
    start_ = cache_.runs_.size();
}

void SegmentCache::Recording::done() {
    const std::size_t count = cache_.runs_.size() - start_;
    if (!within_ || count > UINT16_MAX) return;
    if (2 * (cache_.used_ + 1) > cache_.slots_.size()) cache_.grow();
    Slot& slot = cache_.slot_for(key_);
    if (slot.key == 0) ++cache_.used_;
    slot = {key_, static_cast<std::uint32_t>(cache_.headers_.size())};
    cache_.headers_.push_back(
        {static_cast<std::uint32_t>(start_),
         static_cast<std::uint16_t>(count),
         {static_cast<std::int16_t>(area_.top), static_cast<std::int16_t>(area_.bottom)}});
    done_ = true;
}

SegmentCache::Recording::~Recording() {
    if (!done_) cache_.runs_.resize(start_);
}

} // namespace kv::raster
