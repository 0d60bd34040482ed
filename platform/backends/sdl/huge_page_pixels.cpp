#include "backends/sdl/huge_page_pixels.h"

#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace kv::sdl {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

} // namespace

HugePagePixels::HugePagePixels(std::size_t count) : count_(count) {
    if (count == 0) return;
    // aligned_alloc wants a multiple of the alignment.
    const std::size_t bytes = (count * sizeof(Color) + kHugePage - 1) / kHugePage * kHugePage;
    data_.reset(static_cast<Color*>(std::aligned_alloc(kHugePage, bytes)));
    if (!data_) throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    // Only a hint: without transparent huge pages the buffer works the same, a little slower.
    madvise(data_.get(), bytes, MADV_HUGEPAGE);
#endif
}

} // namespace kv::sdl
