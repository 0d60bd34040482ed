// Animated GIF recordings of the client area, written frame by frame as they come.
#pragma once

#include "core/framebuffer.h"
#include "image/output_file.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kv::image {

// Each frame decodes to exactly the framebuffer it came from: the pixels a frame changes may have
// up to 255 colours (one index of its colour table stays free for transparency), and are coded
// without loss. After the first frame only the rectangle that changed is stored, its unchanged
// pixels transparent, and every frame stays on screen under the next (disposal "do not
// dispose"). The animation loops forever.
//
// Nothing is kept until finish(): a file is written under a temporary name and renamed then.
// Errors throw FileError naming the output and the reason.
class GifWriter {
  public:
    // `comment`, when not empty, goes into the file's comment extension before the first frame:
    // ASCII text that says how the picture was made.
    explicit GifWriter(const std::string& path, std::string comment = {}); // a file
    // Any output (a download in a page).
    explicit GifWriter(std::unique_ptr<Output> output, std::string comment = {});

    // Every frame has the first frame's size. delay_cs is how long it shows, in 1/100 s
    // (0..65535).
    void add_frame(const Framebuffer& fb, int delay_cs);
    // Ends the animation and keeps it; at least one frame must have been added. Returns where
    // it went (Output::keep).
    std::string finish();

    int frames() const { return frames_; }

  private:
    [[noreturn]] void fail(const std::string& reason);

    std::unique_ptr<Output> output_;
    std::string name_; // the output's, for messages
    std::string comment_;
    int frames_ = 0;
    int width_ = 0; // of the first frame, and so of every frame
    int height_ = 0;
    std::vector<Color> previous_; // the picture as a player shows it after the last frame
};

} // namespace kv::image
