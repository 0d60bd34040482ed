// Plays an animated GIF as a viewer does, for tests: each frame drawn over the screen left by
// the last, its transparent pixels leaving the screen alone.
#pragma once

#include "core/color.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvtest {

struct Frame {
    std::vector<kv::Color> picture; // the whole screen after this frame
    int delay_cs = 0;
    int disposal = 0;
    bool transparency = false;
    long area = 0; // of the stored rectangle
};

struct Animation {
    int width = 0;
    int height = 0;
    bool loops_forever = false;
    std::string comment; // the comment extensions' text
    std::vector<Frame> frames;
};

inline Animation play_gif(const std::string& path) {
    Animation a;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (gif == nullptr) {
        ADD_FAILURE() << path << ": " << GifErrorString(error);
        return a;
    }
    if (DGifSlurp(gif) != GIF_OK) {
        ADD_FAILURE() << path << ": " << GifErrorString(gif->Error);
        DGifCloseFile(gif, &error);
        return a;
    }
    a.width = gif->SWidth;
    a.height = gif->SHeight;
    std::vector<kv::Color> screen(static_cast<std::size_t>(a.width * a.height), kv::kInvalidColor);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        // A comment's sub-blocks follow its first as blocks of function 0.
        bool in_comment = false;
        for (int e = 0; e < image.ExtensionBlockCount; ++e) {
            const ExtensionBlock& block = image.ExtensionBlocks[e];
            in_comment = block.Function == COMMENT_EXT_FUNC_CODE ||
                         (in_comment && block.Function == CONTINUE_EXT_FUNC_CODE);
            if (in_comment) {
                a.comment.append(reinterpret_cast<const char*>(block.Bytes),
                                 static_cast<std::size_t>(block.ByteCount));
            }
        }
        for (int e = 0; e + 1 < image.ExtensionBlockCount; ++e) {
            const ExtensionBlock& app = image.ExtensionBlocks[e];
            const ExtensionBlock& data = image.ExtensionBlocks[e + 1];
            if (app.Function == APPLICATION_EXT_FUNC_CODE && app.ByteCount == 11 &&
                std::string(reinterpret_cast<const char*>(app.Bytes), 11) == "NETSCAPE2.0" &&
                data.ByteCount == 3 && data.Bytes[0] == 1 && data.Bytes[1] == 0 &&
                data.Bytes[2] == 0) {
                a.loops_forever = true;
            }
        }
        GraphicsControlBlock control{};
        EXPECT_EQ(DGifSavedExtensionToGCB(gif, i, &control), GIF_OK) << "frame " << i;
        const ColorMapObject* map =
            image.ImageDesc.ColorMap != nullptr ? image.ImageDesc.ColorMap : gif->SColorMap;
        const GifImageDesc& d = image.ImageDesc;
        for (int y = 0; y < d.Height; ++y) {
            for (int x = 0; x < d.Width; ++x) {
                const int index = image.RasterBits[y * d.Width + x];
                if (index == control.TransparentColor) continue;
                const GifColorType c = map->Colors[index];
                screen[static_cast<std::size_t>((d.Top + y) * a.width + d.Left + x)] =
                    kv::rgb(c.Red, c.Green, c.Blue);
            }
        }
        a.frames.push_back(Frame{screen, control.DelayTime, control.DisposalMode,
                                 control.TransparentColor != NO_TRANSPARENT_COLOR,
                                 static_cast<long>(d.Width) * d.Height});
    }
    DGifCloseFile(gif, &error);
    return a;
}

} // namespace kvtest
