#include "image/gif_writer.h"

#include "image/file_error.h"

#include <algorithm>
#include <array>
#include <utility>

namespace kv::image {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kMaxColours = 255; // the 256th index is the transparent one

void put16(Bytes& out, std::int64_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

// Bits of a colour table with room for `colours` and one more index, for transparency: GIF
// tables hold a power of two of entries, 2 to 256.
int table_bits(std::size_t colours) {
    int bits = 1;
    while ((std::size_t{1} << bits) < colours + 1)
        ++bits;
    return bits;
}

void put_table(Bytes& out, const std::vector<Color>& colours) {
    for (std::size_t k = 0; k < (std::size_t{1} << table_bits(colours.size())); ++k) {
        const Color c = k < colours.size() ? colours[k] : 0;
        out.insert(out.end(), {red_of(c), green_of(c), blue_of(c)});
    }
}

// GIF's variable-length LZW: codes of 3 to 12 bits, least significant bit first, in sub-blocks
// of up to 255 bytes. The dictionary is an open-addressing hash of (prefix code, index) pairs;
// when all 4096 codes are taken, a clear code starts it again.
class Lzw {
  public:
    Lzw(Bytes& out, int min_bits) : out_(out), min_bits_(min_bits) {
        out_.push_back(static_cast<std::uint8_t>(min_bits));
        reset();
        emit(clear());
    }

    void code(std::span<const std::uint8_t> indices) {
        if (indices.empty()) return;
        int prefix = indices[0];
        for (const std::uint8_t k : indices.subspan(1)) {
            const std::uint32_t key = (static_cast<std::uint32_t>(prefix) << 8) | k;
            std::size_t slot = key % kSlots;
            while (keys_[slot] != kEmpty && keys_[slot] != key)
                slot = (slot + 1) % kSlots;
            if (keys_[slot] == key) {
                prefix = codes_[slot];
                continue;
            }
            emit(prefix);
            if (next_ == 4096) {
                emit(clear());
                reset();
            } else {
                if (next_ == 1 << bits_) ++bits_;
                keys_[slot] = key;
                codes_[slot] = static_cast<std::uint16_t>(next_++);
            }
            prefix = k;
        }
        emit(prefix);
    }

    void end() {
        emit(clear() + 1);
        if (filled_ > 0) block_[count_++] = static_cast<std::uint8_t>(acc_);
        flush();
        out_.push_back(0);
    }

  private:
    static constexpr std::size_t kSlots = 8191; // prime, twice the codes
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;

    int clear() const { return 1 << min_bits_; }
    void reset() {
        keys_.fill(kEmpty);
        bits_ = min_bits_ + 1;
        next_ = clear() + 2;
    }
    void emit(int code) {
        acc_ |= static_cast<std::uint32_t>(code) << filled_;
        for (filled_ += bits_; filled_ >= 8; filled_ -= 8, acc_ >>= 8) {
            block_[count_++] = static_cast<std::uint8_t>(acc_);
            if (count_ == 255) flush();
        }
    }
    void flush() {
        if (count_ == 0) return;
        out_.push_back(static_cast<std::uint8_t>(count_));
        out_.insert(out_.end(), block_.begin(), block_.begin() + count_);
        count_ = 0;
    }

    Bytes& out_;
    int min_bits_;
    int bits_ = 0;
    int next_ = 0;
    std::uint32_t acc_ = 0;
    int filled_ = 0;
    std::array<std::uint8_t, 255> block_{};
    int count_ = 0;
    std::array<std::uint32_t, kSlots> keys_{};
    std::array<std::uint16_t, kSlots> codes_{};
};

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

// Open addressing: the slots are twice the colours, so a search ends at an empty one soon.
std::size_t Palette::slot(Color c) const {
    std::size_t at = (c * 2654435761u) >> 23;
    while (slots_[at] != 0 && colours_[slots_[at] - 1] != c)
        at = (at + 1) % slots_.size();
    return at;
}

std::optional<std::uint8_t> Palette::find(Color c) const {
    const std::uint16_t entry = slots_[slot(c)];
    if (entry == 0) return std::nullopt;
    return static_cast<std::uint8_t>(entry - 1);
}

bool Palette::add(Color c) {
    const std::size_t at = slot(c);
    if (slots_[at] != 0) return true;
    if (colours_.size() == kMaxColours) return false;
    colours_.push_back(c);
    slots_[at] = static_cast<std::uint16_t>(colours_.size());
    return true;
}

GifWriter::GifWriter(const std::string& path)
    : GifWriter(std::make_unique<OutputFile>(path, "GIF")) {}

GifWriter::GifWriter(std::unique_ptr<Output> output)
    : output_(std::move(output)), name_(output_->name()) {}

void GifWriter::fail(const std::string& reason) {
    output_.reset();
    throw FileError("cannot write GIF '" + shown_path(name_) + "': " + reason);
}

void GifWriter::start(const Framebuffer& fb) {
    if (fb.width() == 0 || fb.height() == 0 || fb.width() > 65535 || fb.height() > 65535) {
        fail("a GIF cannot hold a picture of " + std::to_string(fb.width()) + " x " +
             std::to_string(fb.height()));
    }
    for (const Color c : fb.pixels()) {
        if (!palette_.add(c)) fail("the picture has more than 255 colours");
    }
    const auto text = [&](std::string_view s) { bytes_.insert(bytes_.end(), s.begin(), s.end()); };
    text("GIF89a");
    put16(bytes_, fb.width());
    put16(bytes_, fb.height());
    // A global table of 8-bit colours, background 0, square pixels.
    const std::vector<Color>& colours = palette_.colours();
    bytes_.insert(bytes_.end(),
                  {static_cast<std::uint8_t>(0xF0 | (table_bits(colours.size()) - 1)), 0, 0});
    put_table(bytes_, colours);
    // Loops forever: the NETSCAPE2.0 application block, loop count 0.
    bytes_.insert(bytes_.end(), {0x21, 0xFF, 11});
    text("NETSCAPE2.0");
    bytes_.insert(bytes_.end(), {3, 1, 0, 0, 0});
    previous_.assign(fb.pixels().begin(), fb.pixels().end());
    width_ = fb.width();
    height_ = fb.height();
}

void GifWriter::add_frame(const Framebuffer& fb, int delay_cs) {
    if (!output_) fail("the recording has ended");
    if (delay_cs < 0 || delay_cs > 65535) fail("a frame delay must lie in 0..65535 cs");
    if (frames_ == 0) {
        start(fb);
        put_frame(fb, fb.bounds(), delay_cs, true);
    } else {
        if (fb.width() != width_ || fb.height() != height_)
            fail("the picture changed size during the recording");
        Rect box = changed_box(previous_, fb);
        // A frame holds at least one pixel; an unchanged one, transparent, still keeps the time.
        if (box.empty()) box = Rect{0, 0, 1, 1};
        put_frame(fb, box, delay_cs, false);
    }
    output_->write(bytes_);
    bytes_.clear();
}

void GifWriter::put_frame(const Framebuffer& fb, Rect box, int delay_cs, bool first) {
    const auto width = static_cast<std::size_t>(fb.width());
    const auto changed = [&](std::int64_t x, std::int64_t y) {
        const std::size_t at = static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x);
        return first || previous_[at] != fb.row(static_cast<int>(y))[x];
    };

    // The global table when it holds every new colour, else a table of the frame's own.
    Palette local;
    bool global = true;
    for (std::int64_t y = box.top; y < box.bottom && global; ++y) {
        for (std::int64_t x = box.left; x < box.right && global; ++x)
            global = !changed(x, y) || palette_.find(fb.row(static_cast<int>(y))[x]).has_value();
    }
    for (std::int64_t y = box.top; y < box.bottom && !global; ++y) {
        for (std::int64_t x = box.left; x < box.right; ++x) {
            if (changed(x, y) && !local.add(fb.row(static_cast<int>(y))[x]))
                fail("a frame has more than 255 new colours");
        }
    }
    const Palette& index = global ? palette_ : local;
    const std::size_t colours = index.colours().size();
    const auto transparent = static_cast<std::uint8_t>(colours);

    // Graphic control: shown until the next frame, not disposed; transparency after the first.
    bytes_.insert(bytes_.end(), {0x21, 0xF9, 4, static_cast<std::uint8_t>(first ? 0x04 : 0x05)});
    put16(bytes_, delay_cs);
    bytes_.insert(bytes_.end(), {static_cast<std::uint8_t>(first ? 0 : transparent), 0});

    bytes_.push_back(0x2C);
    for (const std::int64_t v : {box.left, box.top, box.width(), box.height()})
        put16(bytes_, v);
    const int bits = table_bits(colours);
    bytes_.push_back(global ? 0 : static_cast<std::uint8_t>(0x80 | (bits - 1)));
    if (!global) put_table(bytes_, local.colours());

    std::vector<std::uint8_t> indices;
    indices.reserve(static_cast<std::size_t>(box.width() * box.height()));
    for (std::int64_t y = box.top; y < box.bottom; ++y) {
        const Color* row = fb.row(static_cast<int>(y));
        for (std::int64_t x = box.left; x < box.right; ++x)
            indices.push_back(changed(x, y) ? *index.find(row[x]) : transparent);
        std::copy(row + box.left, row + box.right,
                  previous_.begin() + static_cast<std::ptrdiff_t>(y * fb.width() + box.left));
    }
    Lzw lzw(bytes_, std::max(2, bits));
    lzw.code(indices);
    lzw.end();
    ++frames_;
}

std::string GifWriter::finish() {
    if (!output_) fail("the recording has ended");
    if (frames_ == 0) fail("no frame was recorded");
    const std::uint8_t trailer = 0x3B;
    output_->write(std::span(&trailer, 1));
    std::unique_ptr<Output> output = std::move(output_);
    return output->keep();
}

} // namespace kv::image
