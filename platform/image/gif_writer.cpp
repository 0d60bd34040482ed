#include "image/gif_writer.h"

#include "image/file_error.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace kv::image {

namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& out, std::int64_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

// A frame's colour table: up to 255 colours and each one's index, found by open addressing in
// twice as many slots. GIF tables hold a power of two of entries, 2 to 256; the first one past
// the colours is the transparent index.
class Palette {
  public:
    std::optional<std::uint8_t> find(Color c) const {
        const std::uint16_t entry = slots_[slot(c)];
        if (entry == 0) return std::nullopt;
        return static_cast<std::uint8_t>(entry - 1);
    }
    // False when the table is full.
    bool add(Color c) {
        const std::size_t at = slot(c);
        if (slots_[at] != 0) return true;
        if (colours_.size() == 255) return false;
        colours_.push_back(c);
        slots_[at] = static_cast<std::uint16_t>(colours_.size());
        return true;
    }
    int bits() const {
        int bits = 1;
        while ((std::size_t{1} << bits) < colours_.size() + 1)
            ++bits;
        return bits;
    }
    std::uint8_t transparent() const { return static_cast<std::uint8_t>(colours_.size()); }
    void put(Bytes& out) const {
        for (std::size_t k = 0; k < (std::size_t{1} << bits()); ++k) {
            const Color c = k < colours_.size() ? colours_[k] : 0;
            out.insert(out.end(), {red_of(c), green_of(c), blue_of(c)});
        }
    }

  private:
    std::size_t slot(Color c) const {
        std::size_t at = (c * 2654435761u) >> 23;
        while (slots_[at] != 0 && colours_[slots_[at] - 1] != c)
            at = (at + 1) % slots_.size();
        return at;
    }

    std::vector<Color> colours_;
    std::array<std::uint16_t, 512> slots_{}; // a colour's index + 1, 0 for none
};

// GIF's variable-length LZW: codes of 3 to 12 bits, least significant bit first, in sub-blocks
// of up to 255 bytes. The dictionary is a hash of (prefix code, index) pairs; when all 4096
// codes are taken, a clear code starts it again.
void lzw(const std::vector<std::uint8_t>& indices, int min_bits, Bytes& out) {
    constexpr std::size_t kSlots = 8191; // prime, twice the codes
    std::vector<std::uint32_t> keys(kSlots);
    std::vector<std::uint16_t> codes(kSlots);
    const int clear = 1 << min_bits;
    int bits = 0, next = 0, filled = 0;
    std::uint32_t acc = 0;
    Bytes block;
    const auto flush = [&] {
        out.push_back(static_cast<std::uint8_t>(block.size()));
        out.insert(out.end(), block.begin(), block.end());
        block.clear();
    };
    const auto emit = [&](int code) {
        acc |= static_cast<std::uint32_t>(code) << filled;
        for (filled += bits; filled >= 8; filled -= 8, acc >>= 8) {
            block.push_back(static_cast<std::uint8_t>(acc));
            if (block.size() == 255) flush();
        }
    };
    const auto reset = [&] {
        std::fill(keys.begin(), keys.end(), 0xFFFFFFFF);
        bits = min_bits + 1;
        next = clear + 2;
    };
    out.push_back(static_cast<std::uint8_t>(min_bits));
    reset();
    emit(clear);
    int prefix = indices[0];
    for (std::size_t i = 1; i < indices.size(); ++i) {
        const std::uint32_t key = (static_cast<std::uint32_t>(prefix) << 8) | indices[i];
        std::size_t slot = key % kSlots;
        while (keys[slot] != 0xFFFFFFFF && keys[slot] != key)
            slot = (slot + 1) % kSlots;
        if (keys[slot] == key) {
            prefix = codes[slot];
            continue;
        }
        emit(prefix);
        if (next == 4096) {
            emit(clear);
            reset();
        } else {
            if (next == 1 << bits) ++bits;
            keys[slot] = key;
            codes[slot] = static_cast<std::uint16_t>(next++);
        }
        prefix = indices[i];
    }
    emit(prefix);
    emit(clear + 1);
    if (filled > 0) block.push_back(static_cast<std::uint8_t>(acc));
    if (!block.empty()) flush();
    out.push_back(0);
}

// A comment extension: its text in sub-blocks of at most 255 bytes.
void put_comment(const std::string& text, Bytes& out) {
    if (text.empty()) return;
    out.insert(out.end(), {0x21, 0xFE});
    for (std::size_t at = 0; at < text.size(); at += 255) {
        const std::size_t length = std::min<std::size_t>(255, text.size() - at);
        out.push_back(static_cast<std::uint8_t>(length));
        out.insert(out.end(), text.begin() + static_cast<std::ptrdiff_t>(at),
                   text.begin() + static_cast<std::ptrdiff_t>(at + length));
    }
    out.push_back(0);
}

// The smallest rectangle holding every pixel that differs between the two pictures.
Rect changed_box(const std::vector<Color>& before, const Framebuffer& fb) {
    Rect box{fb.width(), fb.height(), 0, 0};
    for (int y = 0; y < fb.height(); ++y) {
        const Color* row = fb.row(y);
        const Color* old = before.data() + static_cast<std::size_t>(y) * fb.width();
        for (int x = 0; x < fb.width(); ++x) {
            if (row[x] == old[x]) continue;
            box.left = std::min<std::int64_t>(box.left, x);
            box.right = std::max<std::int64_t>(box.right, x + 1);
            box.top = std::min<std::int64_t>(box.top, y);
            box.bottom = y + 1;
        }
    }
    return box;
}

} // namespace

GifWriter::GifWriter(const std::string& path, std::string comment)
    : GifWriter(std::make_unique<OutputFile>(path, "GIF"), std::move(comment)) {}

GifWriter::GifWriter(std::unique_ptr<Output> output, std::string comment)
    : output_(std::move(output)), name_(output_->name()), comment_(std::move(comment)) {}

void GifWriter::fail(const std::string& reason) {
    output_.reset();
    throw FileError("cannot write GIF '" + shown_path(name_) + "': " + reason);
}

void GifWriter::add_frame(const Framebuffer& fb, int delay_cs) {
    if (!output_) fail("the recording has ended");
    if (delay_cs < 0 || delay_cs > 65535) fail("a frame delay must lie in 0..65535 cs");
    const bool first = frames_ == 0;
    Bytes out;
    Rect box = fb.bounds();
    if (first) {
        if (fb.width() == 0 || fb.height() == 0 || fb.width() > 65535 || fb.height() > 65535) {
            fail("a GIF cannot hold a picture of " + std::to_string(fb.width()) + " x " +
                 std::to_string(fb.height()));
        }
        // No global colour table: each frame has its own. Loops forever: the NETSCAPE2.0
        // application block, loop count 0.
        out = {'G', 'I', 'F', '8', '9', 'a'};
        put16(out, fb.width());
        put16(out, fb.height());
        out.insert(out.end(), {0,   0,   0,   0x21, 0xFF, 11,  'N', 'E', 'T', 'S', 'C',
                               'A', 'P', 'E', '2',  '.',  '0', 3,   1,   0,   0,   0});
        put_comment(comment_, out);
        previous_.assign(fb.pixels().begin(), fb.pixels().end());
        width_ = fb.width();
        height_ = fb.height();
    } else {
        if (fb.width() != width_ || fb.height() != height_)
            fail("the picture changed size during the recording");
        box = changed_box(previous_, fb);
        // A frame holds at least one pixel; an unchanged one, transparent, still keeps the time.
        if (box.empty()) box = Rect{0, 0, 1, 1};
    }
    const auto at = [&](std::int64_t x, std::int64_t y) {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    };
    const auto changed = [&](std::int64_t x, std::int64_t y) {
        return first || previous_[at(x, y)] != fb.row(static_cast<int>(y))[x];
    };
    Palette palette;
    for (std::int64_t y = box.top; y < box.bottom; ++y) {
        for (std::int64_t x = box.left; x < box.right; ++x) {
            if (changed(x, y) && !palette.add(fb.row(static_cast<int>(y))[x]))
                fail(first ? "the picture has more than 255 colours"
                           : "a frame has more than 255 new colours");
        }
    }
    // Graphic control: shown until the next frame, not disposed; transparency after the first.
    out.insert(out.end(), {0x21, 0xF9, 4, static_cast<std::uint8_t>(first ? 0x04 : 0x05)});
    put16(out, delay_cs);
    out.insert(out.end(), {static_cast<std::uint8_t>(first ? 0 : palette.transparent()), 0, 0x2C});
    for (const std::int64_t v : {box.left, box.top, box.width(), box.height()})
        put16(out, v);
    out.push_back(static_cast<std::uint8_t>(0x80 | (palette.bits() - 1)));
    palette.put(out);
    std::vector<std::uint8_t> indices;
    indices.reserve(static_cast<std::size_t>(box.width() * box.height()));
    for (std::int64_t y = box.top; y < box.bottom; ++y) {
        const Color* row = fb.row(static_cast<int>(y));
        for (std::int64_t x = box.left; x < box.right; ++x)
            indices.push_back(changed(x, y) ? *palette.find(row[x]) : palette.transparent());
        std::copy(row + box.left, row + box.right,
                  previous_.begin() + static_cast<std::ptrdiff_t>(at(box.left, y)));
    }
    lzw(indices, std::max(2, palette.bits()), out);
    output_->write(out);
    ++frames_;
}

std::string GifWriter::finish() {
    if (!output_) fail("the recording has ended");
    if (frames_ == 0) fail("no frame was recorded");
    output_->write(std::string_view(";")); // the trailer
    return std::unique_ptr<Output>(std::move(output_))->keep();
}

} // namespace kv::image
