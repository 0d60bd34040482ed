// GifWriter for builds without giflib (the WebAssembly script runner, which compares the model and
// the pictures with the native build): `record` stops the run with a clear error instead.
#include "image/gif_writer.h"

#include "image/file_error.h"

#include <utility>

namespace kv::image {

GifWriter::GifWriter(std::string path) : path_(std::move(path)) {
    fail("GIF recording is not available in this build");
}

GifWriter::~GifWriter() = default;

void GifWriter::add_frame(const Framebuffer&, int) {}

void GifWriter::finish() {}

void GifWriter::fail(const std::string& reason) {
    throw FileError("cannot write GIF " + path_ + ": " + reason);
}

} // namespace kv::image
