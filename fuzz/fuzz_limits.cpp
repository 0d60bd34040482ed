#include "fuzz/fuzz_limits.h"

#include <algorithm>
#include <filesystem>

namespace kvfuzz {

using kv::headless::Command;

std::vector<Command> within_limits(std::vector<Command> commands,
                                   const std::string& snapshot_path) {
    if (commands.size() > kMaxCommands) commands.resize(kMaxCommands);
    std::int64_t ticks_left = kMaxTicks;
    std::size_t snapshots = 0;
    std::vector<Command> kept;
    kept.reserve(commands.size());
    for (Command& c : commands) {
        switch (c.kind) {
        case Command::Kind::Tick:
            c.count = std::min(c.count, ticks_left);
            ticks_left -= c.count;
            break;
        case Command::Kind::Resize:
            c.width = std::min(c.width, kMaxResize);
            c.height = std::min(c.height, kMaxResize);
            break;
        case Command::Kind::Snapshot:
            if (++snapshots > kMaxSnapshots) continue;
            c.path = snapshot_path;
            break;
        case Command::Kind::Record:
            if (++snapshots > kMaxSnapshots) continue;
            c.count = std::min(c.count, ticks_left);
            ticks_left -= c.count;
            c.path = std::filesystem::path(snapshot_path).replace_extension(".gif").string();
            break;
        case Command::Kind::Trace:
            c.path = std::filesystem::path(snapshot_path).replace_extension(".csv").string();
            break;
        default:
            break;
        }
        kept.push_back(std::move(c));
    }
    return kept;
}

} // namespace kvfuzz
