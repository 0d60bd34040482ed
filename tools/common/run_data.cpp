#include "tools/common/run_data.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <stdexcept>

void RunData::AfterTick(std::uint64_t tick) {
    try {
        rows_.push_back(sampler_.Sample(tick));
    } catch (const std::exception&) {
        // A Tick whose replay disagrees has no row; the others still count.
        return;
    }
    if (rows_.size() > kept_rows_) rows_.pop_front();
}

void RunData::WriteCsv(const std::string& path) const {
    const std::string temporary = path + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    const auto fail = [&](int error) {
        if (file != nullptr) std::fclose(file);
        std::remove(temporary.c_str());
        throw std::runtime_error("cannot write " + path + ": " + std::strerror(error));
    };
    if (file == nullptr) fail(errno);
    bool ok = std::fputs(kTraceHeader, file) != EOF && std::fputc('\n', file) != EOF;
    for (const TraceSample& sample : rows_) {
        if (!ok) break;
        ok = std::fputs(TraceRow(sample).c_str(), file) != EOF && std::fputc('\n', file) != EOF;
    }
    if (!ok) fail(errno);
    if (std::fclose(file) != 0) {
        file = nullptr;
        fail(errno);
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        file = nullptr;
        fail(errno);
    }
}
