#include "image/output_file.h"

#include "core/files.h"
#include "image/file_error.h"

#include <cerrno>
#include <system_error>

namespace kv::image {

namespace {

std::FILE* open_for_writing(const std::string& path) {
    return open_file(path, "wb");
}

} // namespace

OutputFile::OutputFile(std::string path, std::string kind, bool whole)
    : Output(std::move(path)), kind_(std::move(kind)), temporary_(whole ? name() + ".tmp" : ""),
      file_(open_for_writing(whole ? temporary_ : name())) {
    if (file_ == nullptr) fail(std::generic_category().message(errno));
}

OutputFile::~OutputFile() {
    if (file_ != nullptr) std::fclose(file_);
    if (!temporary_.empty()) remove_file(temporary_);
}

void OutputFile::fail(const std::string& reason) {
    if (file_ != nullptr) std::fclose(std::exchange(file_, nullptr));
    if (!temporary_.empty()) remove_file(temporary_);
    throw FileError("cannot write " + kind_ + " '" + shown_path(name()) + "': " + reason);
}

void OutputFile::write(std::span<const std::uint8_t> bytes) {
    if (file_ == nullptr) fail("the file is already closed");
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        fail(std::generic_category().message(errno));
}

std::string OutputFile::keep() {
    if (file_ == nullptr) fail("the file is already closed");
    const bool failed = std::ferror(file_) != 0;
    if (std::fclose(std::exchange(file_, nullptr)) != 0 || failed)
        fail(failed ? "a write failed" : std::generic_category().message(errno));
    if (!temporary_.empty()) {
        const int error = replace_file(temporary_, name());
        if (error != 0) fail(std::generic_category().message(error));
    }
    return name();
}

} // namespace kv::image
