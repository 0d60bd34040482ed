// Animated GIF recordings of the client area, written frame by frame as they come.
#pragma once

#include "core/framebuffer.h"
#include "image/output_file.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kv::image {

// Each frame decodes to exactly the framebuffer it came from: a picture of at most 255 colours
// (one palette index stays free for transparency) is coded without loss. After the first frame,
// only the rectangle that changed is stored, its unchanged pixels transparent, and every frame
// stays on screen under the next (disposal "do not dispose"). The animation loops forever.
//
// Nothing is kept until finish(): a file is written under a temporary name and renamed then, so
// an unfinished or failed recording leaves no partial file behind. Errors throw FileError naming
// the output and the reason.
// A colour table of up to 255 colours, and each colour's index.
class Palette {
  public:
    std::optional<std::uint8_t> find(Color c) const;
    // False when the table is full.
    bool add(Color c);
    const std::vector<Color>& colours() const { return colours_; }

  private:
    std::size_t slot(Color c) const;

    std::vector<Color> colours_;
    std::array<std::uint16_t, 512> slots_{}; // a colour's index + 1, 0 for none
};

class GifWriter {
  public:
    // A file at `path`.
    explicit GifWriter(const std::string& path);
    // Any output (a download in a page).
    explicit GifWriter(std::unique_ptr<Output> output);

    // Every frame has the first frame's size. delay_cs is how long it shows, in 1/100 s
    // (0..65535).
    void add_frame(const Framebuffer& fb, int delay_cs);
    // Ends the animation and keeps it; at least one frame must have been added. Returns where
    // it went (Output::keep).
    std::string finish();

    int frames() const { return frames_; }

  private:
    [[noreturn]] void fail(const std::string& reason);
    void start(const Framebuffer& fb);
    void put_frame(const Framebuffer& fb, Rect box, int delay_cs, bool first);

    std::unique_ptr<Output> output_;
    std::string name_;                // the output's, for messages
    std::vector<std::uint8_t> bytes_; // what goes to the output next
    int frames_ = 0;
    int width_ = 0; // of the first frame, and so of every frame
    int height_ = 0;
    std::vector<Color> previous_; // the picture as a player shows it after the last frame
    Palette palette_;             // the global colour table; its size is the transparent index
};

} // namespace kv::image
