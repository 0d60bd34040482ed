// Where a picture, a recording or a table of data goes: a file, or a download in a page.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace kv::image {

// Bytes written piece by piece and kept whole at the end, or not at all.
class Output {
  public:
    // `name` says which in messages: a file's path, a download's name.
    explicit Output(std::string name) : name_(std::move(name)) {}
    virtual ~Output() = default; // not kept: nothing is left behind
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    const std::string& name() const { return name_; }
    virtual void write(std::span<const std::uint8_t> bytes) = 0;
    void write(std::string_view text) {
        write({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    }
    // Ends the output and keeps it; returns where it went ("" when there is nothing to say).
    virtual std::string keep() = 0;

  private:
    std::string name_;
};

// A file written under a temporary name beside it and renamed by keep(), so that a failed or
// unfinished write leaves no partial file behind; or, not `whole`, written in place as it goes,
// what was written staying whatever happens. Errors throw FileError: "cannot write KIND 'PATH':
// reason".
class OutputFile final : public Output {
  public:
    OutputFile(std::string path, std::string kind, bool whole = true);
    ~OutputFile() override;

    using Output::write;
    void write(std::span<const std::uint8_t> bytes) override;
    std::string keep() override;
    // For encoders that write to a stdio stream themselves.
    std::FILE* stream() { return file_; }
    // Throws the FileError for `reason`; the temporary file is removed.
    [[noreturn]] void fail(const std::string& reason);

  private:
    std::string kind_;
    std::string temporary_; // the path while written, when it is written whole
    std::FILE* file_ = nullptr;
};

} // namespace kv::image
