#include "image/output_file.h"

#include "image/file_error.h"

#include <cerrno>
#include <system_error>
#include <utility>

namespace kv::image {

namespace {

std::string errno_text(int error) {
    return std::generic_category().message(error);
}

} // namespace

OutputFile::OutputFile(std::string path, std::string kind)
    : Output(std::move(path)), kind_(std::move(kind)), temporary_(name() + ".tmp") {
    file_ = std::fopen(temporary_.c_str(), "wb");
    if (file_ == nullptr) fail(errno_text(errno));
}

OutputFile::~OutputFile() {
    discard();
}

void OutputFile::discard() {
    if (file_ == nullptr) return;
    std::fclose(file_);
    file_ = nullptr;
    std::remove(temporary_.c_str());
}

void OutputFile::fail(const std::string& reason) {
    discard();
    throw FileError("cannot write " + kind_ + " '" + shown_path(name()) + "': " + reason);
}

void OutputFile::write(std::span<const std::uint8_t> bytes) {
    if (file_ == nullptr) fail("the file is already closed");
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) fail(errno_text(errno));
}

std::string OutputFile::keep() {
    if (file_ == nullptr) fail("the file is already closed");
    const bool failed = std::ferror(file_) != 0;
    const int closed = std::fclose(std::exchange(file_, nullptr));
    const int error = errno;
    if (closed != 0 || failed) {
        std::remove(temporary_.c_str());
        fail(failed ? "a write failed" : errno_text(error));
    }
    if (std::rename(temporary_.c_str(), name().c_str()) != 0) {
        const int rename_error = errno;
        std::remove(temporary_.c_str());
        fail(errno_text(rename_error));
    }
    return name();
}

} // namespace kv::image
