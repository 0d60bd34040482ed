// The GIF writer on pictures made for it: colours that arrive late, a frame that changes nothing,
// a picture a GIF cannot hold without loss, a size that changes. Each frame played back must be
// the picture given.
#include "image/gif_writer.h"
#include "image/file_error.h"
#include "platform/headless/gif_player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <unistd.h>

namespace kv::image {
namespace {

namespace fs = std::filesystem;

// A fresh directory of this process's own.
std::string scratch_dir(const std::string& name) {
    const fs::path dir = fs::temp_directory_path() / "korveline-tests" /
                         ("GifWriter." + name + "." + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir.string();
}

Framebuffer with_square(Framebuffer fb, int x0, int y0, int size, Color c) {
    for (int y = y0; y < y0 + size; ++y)
        fb.fill_span(y, x0, x0 + size, c);
    return fb;
}

TEST(GifWriter, EveryFramePlaysBackAsGivenWhateverItsColours) {
    const std::string path = scratch_dir("gif") + "/frames.gif";
    const Framebuffer first = with_square(Framebuffer(64, 48, rgb(0, 200, 200)), 4, 4, 8, 0);
    std::vector<Framebuffer> frames{
        first, with_square(first, 20, 10, 6, rgb(255, 110, 0)), // a colour the first frame lacks
        with_square(first, 20, 10, 6, rgb(255, 110, 0)),        // nothing changes
        with_square(first, 4, 4, 8, rgb(0, 200, 200)),          // back to the background
    };
    Framebuffer ramp = frames.back(); // 250 new colours at once: a table of the frame's own
    for (int k = 0; k < 250; ++k)
        ramp.set(k % 64, 30 + k / 64, rgb(static_cast<std::uint8_t>(k), 1, 2));
    frames.push_back(ramp);
    {
        GifWriter gif(path);
        for (const Framebuffer& fb : frames)
            gif.add_frame(fb, 7);
        EXPECT_FALSE(fs::exists(path)) << "the file appears whole, at the end";
        gif.finish();
        EXPECT_EQ(gif.frames(), 5);
    }
    const kvtest::Animation played = kvtest::play_gif(path);
    ASSERT_EQ(played.frames.size(), frames.size());
    EXPECT_TRUE(played.loops_forever);
    for (std::size_t f = 0; f < frames.size(); ++f) {
        EXPECT_TRUE(std::ranges::equal(played.frames[f].picture, frames[f].pixels()))
            << "frame " << f;
        EXPECT_EQ(played.frames[f].delay_cs, 7);
    }
    EXPECT_EQ(played.frames[1].area, 6 * 6) << "only the changed rectangle";
    EXPECT_EQ(played.frames[2].area, 1) << "a single transparent pixel keeps the time";
    EXPECT_EQ(fs::directory_iterator(fs::path(path).parent_path())->path(), path)
        << "no temporary file is left";
}

TEST(GifWriter, TheCommentGivenIsInTheFileWhateverItsLength) {
    const std::string dir = scratch_dir("comment");
    const Framebuffer fb = with_square(Framebuffer(16, 16, rgb(0, 200, 200)), 2, 2, 4, 0);
    // Sub-blocks hold 255 bytes: a comment of exactly one, and one of a few.
    for (const std::string& comment : {std::string(), std::string("order=reversed frequency=50"),
                                       std::string(255, 'x'), std::string(700, 'y') + "end"}) {
        const std::string path = dir + "/c" + std::to_string(comment.size()) + ".gif";
        GifWriter gif(path, comment);
        gif.add_frame(fb, 5);
        gif.add_frame(with_square(fb, 8, 8, 4, 0), 5);
        gif.finish();
        const kvtest::Animation played = kvtest::play_gif(path);
        EXPECT_EQ(played.comment, comment);
        ASSERT_EQ(played.frames.size(), 2u);
        EXPECT_TRUE(std::ranges::equal(played.frames[0].picture, fb.pixels()));
        EXPECT_TRUE(played.loops_forever);
    }
}

TEST(GifWriter, PicturesItCannotHoldAreRefusedAndLeaveNoFile) {
    const std::string dir = scratch_dir("refused");
    Framebuffer many(32, 16);
    for (int k = 0; k < 256; ++k)
        many.set(k % 32, k / 32, rgb(static_cast<std::uint8_t>(k), 0, 0));
    const Framebuffer plain(32, 16, rgb(1, 2, 3));
    struct Case {
        const char* what;
        std::vector<Framebuffer> frames;
        const char* reason;
    } cases[] = {
        {"256 colours", {many}, "more than 255 colours"},
        {"256 new colours later", {plain, many}, "more than 255 new colours"},
        {"an empty picture", {Framebuffer(0, 0)}, "cannot hold a picture of 0 x 0"},
        {"a new size", {plain, Framebuffer(16, 32)}, "changed size"},
        {"no frame", {}, "no frame"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir + "/" + c.what + ".gif";
        try {
            GifWriter gif(path);
            for (const Framebuffer& fb : c.frames)
                gif.add_frame(fb, 5);
            gif.finish();
            ADD_FAILURE() << "expected a FileError";
        } catch (const FileError& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        }
    }
    EXPECT_TRUE(fs::is_empty(dir));
}

} // namespace
} // namespace kv::image
