#include "image/gif_writer.h"

#include "image/file_error.h"

#include <fcntl.h>
#include <gif_lib.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

namespace kv::image {

namespace {

constexpr std::size_t kMaxColours = 255; // the 256th index is the transparent one

std::string gif_error(int code) {
    const char* text = GifErrorString(code);
    return text != nullptr ? text : "giflib error " + std::to_string(code);
}

struct MapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using ColourMap = std::unique_ptr<ColorMapObject, MapDeleter>;

// A colour table with room for `colours` and one more index, for transparency. GIF tables hold
// a power of two of entries, 2 to 256.
ColourMap make_map(const std::vector<Color>& colours) {
    int size = 2;
    while (static_cast<std::size_t>(size) < colours.size() + 1)
        size *= 2;
    std::vector<GifColorType> entries(static_cast<std::size_t>(size), GifColorType{0, 0, 0});
    for (std::size_t k = 0; k < colours.size(); ++k)
        entries[k] = GifColorType{red_of(colours[k]), green_of(colours[k]), blue_of(colours[k])};
    return ColourMap(GifMakeMapObject(size, entries.data()));
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

GifWriter::GifWriter(std::string path) : path_(std::move(path)), temporary_(path_ + ".tmp") {}

GifWriter::~GifWriter() {
    if (gif_ != nullptr) {
        int ignored = 0;
        EGifCloseFile(gif_, &ignored);
        std::error_code ec;
        std::filesystem::remove(temporary_, ec);
    }
}

void GifWriter::fail(const std::string& reason) {
    if (gif_ != nullptr) {
        int ignored = 0;
        EGifCloseFile(gif_, &ignored);
        gif_ = nullptr;
    }
    std::error_code ec;
    std::filesystem::remove(temporary_, ec);
    throw FileError("cannot write GIF '" + shown_path(path_) + "': " + reason);
}

void GifWriter::start(const Framebuffer& fb) {
    if (fb.width() == 0 || fb.height() == 0 || fb.width() > 65535 || fb.height() > 65535) {
        fail("a GIF cannot hold a picture of " + std::to_string(fb.width()) + " x " +
             std::to_string(fb.height()));
    }
    for (const Color c : fb.pixels()) {
        if (palette_index_.contains(c)) continue;
        if (palette_.size() == kMaxColours) fail("the picture has more than 255 colours");
        palette_index_.emplace(c, static_cast<std::uint8_t>(palette_.size()));
        palette_.push_back(c);
    }

    // Opened here rather than by giflib, which would make the file readable by its owner only.
    const int fd = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) fail(std::generic_category().message(errno));
    int error = 0;
    gif_ = EGifOpenFileHandle(fd, &error);
    if (gif_ == nullptr) {
        ::close(fd);
        fail(gif_error(error));
    }
    EGifSetGifVersion(gif_, true);
    const ColourMap map = make_map(palette_);
    if (EGifPutScreenDesc(gif_, fb.width(), fb.height(), 8, 0, map.get()) == GIF_ERROR)
        fail(gif_error(gif_->Error));

    // Loops forever: the NETSCAPE2.0 application block, loop count 0.
    static constexpr char kApplication[] = "NETSCAPE2.0";
    static constexpr std::array<GifByteType, 3> kLoopForever{1, 0, 0};
    if (EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
        EGifPutExtensionBlock(gif_, 11, kApplication) == GIF_ERROR ||
        EGifPutExtensionBlock(gif_, 3, kLoopForever.data()) == GIF_ERROR ||
        EGifPutExtensionTrailer(gif_) == GIF_ERROR) {
        fail(gif_error(gif_->Error));
    }
    put_comment();
    previous_.assign(fb.pixels().begin(), fb.pixels().end());
    width_ = fb.width();
    height_ = fb.height();
}

// A comment extension holds its text in sub-blocks of at most 255 bytes.
void GifWriter::put_comment() {
    if (comment_.empty()) return;
    constexpr std::size_t kBlock = 255;
    if (EGifPutExtensionLeader(gif_, COMMENT_EXT_FUNC_CODE) == GIF_ERROR)
        fail(gif_error(gif_->Error));
    for (std::size_t at = 0; at < comment_.size(); at += kBlock) {
        const auto length = static_cast<int>(std::min(kBlock, comment_.size() - at));
        if (EGifPutExtensionBlock(gif_, length, comment_.data() + at) == GIF_ERROR)
            fail(gif_error(gif_->Error));
    }
    if (EGifPutExtensionTrailer(gif_) == GIF_ERROR) fail(gif_error(gif_->Error));
}

void GifWriter::add_frame(const Framebuffer& fb, int delay_cs) {
    if (delay_cs < 0 || delay_cs > 65535) fail("a frame delay must lie in 0..65535 cs");
    if (frames_ == 0) {
        start(fb);
        put_frame(fb, fb.bounds(), delay_cs, true);
        return;
    }
    if (gif_ == nullptr) fail("the recording has ended");
    if (fb.width() != width_ || fb.height() != height_)
        fail("the picture changed size during the recording");
    Rect box = changed_box(previous_, fb);
    // A frame holds at least one pixel; an unchanged one, transparent, still keeps the time.
    if (box.empty()) box = Rect{0, 0, 1, 1};
    put_frame(fb, box, delay_cs, false);
}

void GifWriter::put_frame(const Framebuffer& fb, Rect box, int delay_cs, bool first) {
    const auto width = static_cast<std::size_t>(fb.width());
    const auto changed = [&](std::int64_t x, std::int64_t y) {
        const std::size_t at = static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x);
        return first || previous_[at] != fb.row(static_cast<int>(y))[x];
    };

    // The global table when it holds every new colour, else a table of the frame's own.
    std::vector<Color> local;
    std::unordered_map<Color, std::uint8_t> local_index;
    bool global = true;
    for (std::int64_t y = box.top; y < box.bottom && global; ++y) {
        for (std::int64_t x = box.left; x < box.right; ++x) {
            if (changed(x, y) && !palette_index_.contains(fb.row(static_cast<int>(y))[x])) {
                global = false;
                break;
            }
        }
    }
    if (!global) {
        for (std::int64_t y = box.top; y < box.bottom; ++y) {
            for (std::int64_t x = box.left; x < box.right; ++x) {
                const Color c = fb.row(static_cast<int>(y))[x];
                if (!changed(x, y) || local_index.contains(c)) continue;
                if (local.size() == kMaxColours) fail("a frame has more than 255 new colours");
                local_index.emplace(c, static_cast<std::uint8_t>(local.size()));
                local.push_back(c);
            }
        }
    }
    const auto& index = global ? palette_index_ : local_index;
    const auto transparent = static_cast<GifPixelType>(global ? palette_.size() : local.size());

    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = delay_cs;
    control.TransparentColor = first ? NO_TRANSPARENT_COLOR : transparent;
    std::array<GifByteType, 4> extension{};
    const auto length = static_cast<int>(EGifGCBToExtension(&control, extension.data()));
    if (EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, length, extension.data()) == GIF_ERROR)
        fail(gif_error(gif_->Error));

    const ColourMap map = global ? ColourMap{} : make_map(local);
    // giflib drops its copy of the last frame's own table, unfreed, when the next frame has
    // none: free it first.
    if (global && gif_->Image.ColorMap != nullptr) {
        GifFreeMapObject(gif_->Image.ColorMap);
        gif_->Image.ColorMap = nullptr;
    }
    const auto w = static_cast<int>(box.width());
    if (EGifPutImageDesc(gif_, static_cast<int>(box.left), static_cast<int>(box.top), w,
                         static_cast<int>(box.height()), false, map.get()) == GIF_ERROR) {
        fail(gif_error(gif_->Error));
    }
    std::vector<GifPixelType> line(static_cast<std::size_t>(w));
    for (std::int64_t y = box.top; y < box.bottom; ++y) {
        const Color* row = fb.row(static_cast<int>(y));
        for (std::int64_t x = box.left; x < box.right; ++x)
            line[static_cast<std::size_t>(x - box.left)] =
                changed(x, y) ? index.at(row[x]) : transparent;
        if (EGifPutLine(gif_, line.data(), w) == GIF_ERROR) fail(gif_error(gif_->Error));
        std::copy(row + box.left, row + box.right,
                  previous_.begin() + static_cast<std::ptrdiff_t>(y * fb.width() + box.left));
    }
    ++frames_;
}

void GifWriter::finish() {
    if (gif_ == nullptr) fail(frames_ == 0 ? "no frame was recorded" : "the recording has ended");
    int error = 0;
    GifFileType* gif = std::exchange(gif_, nullptr);
    if (EGifCloseFile(gif, &error) == GIF_ERROR) fail(gif_error(error));
    std::error_code ec;
    std::filesystem::rename(temporary_, path_, ec);
    if (ec) fail(ec.message());
}

} // namespace kv::image
