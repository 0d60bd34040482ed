// Animated GIF recordings of the client area, written frame by frame as they come.
#pragma once

#include "core/framebuffer.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

struct GifFileType;

namespace kv::image {

// Each frame decodes to exactly the framebuffer it came from: a picture of at most 255 colours
// (one palette index stays free for transparency) is coded without loss. After the first frame,
// only the rectangle that changed is stored, its unchanged pixels transparent, and every frame
// stays on screen under the next (disposal "do not dispose"). The animation loops forever.
//
// The file is written beside `path` under a temporary name and renamed by finish(), so an
// unfinished or failed recording leaves no partial file behind. Errors throw
// FileError naming the path and the reason.
class GifWriter {
  public:
    explicit GifWriter(std::string path);
    // `comment`, when not empty, goes into the file's comment extension, before the first frame:
    // ASCII text that says how the picture was made.
    GifWriter(std::string path, std::string comment) : GifWriter(std::move(path)) {
        comment_ = std::move(comment);
    }
    ~GifWriter(); // unfinished: the temporary file is removed
    GifWriter(const GifWriter&) = delete;
    GifWriter& operator=(const GifWriter&) = delete;

    // Every frame has the first frame's size. delay_cs is how long it shows, in 1/100 s
    // (0..65535).
    void add_frame(const Framebuffer& fb, int delay_cs);
    // Ends the file; at least one frame must have been added.
    void finish();

    int frames() const { return frames_; }

  private:
    [[noreturn]] void fail(const std::string& reason);
    void start(const Framebuffer& fb);
    void put_comment();
    void put_frame(const Framebuffer& fb, Rect box, int delay_cs, bool first);

    std::string path_;
    std::string temporary_;
    std::string comment_;
    GifFileType* gif_ = nullptr;
    int frames_ = 0;
    int width_ = 0; // of the first frame, and so of every frame
    int height_ = 0;
    std::vector<Color> previous_; // the picture as a player shows it after the last frame
    std::vector<Color> palette_;  // the global colour table; its size is the transparent index
    std::unordered_map<Color, std::uint8_t> palette_index_;
};

} // namespace kv::image
