// What stops a run that has no window to show it in: a snapshot that cannot be written, a program
// that will not exit, a trace that cannot follow the model. The runner reports it and exits with a
// failure code.
#pragma once

#include <stdexcept>
#include <string>

namespace kv {

class RunError : public std::runtime_error {
  public:
    // `line` is the script line that was playing, 0 when none is to blame.
    explicit RunError(const std::string& message, int line = 0)
        : std::runtime_error(message), line_(line) {}

    int line() const { return line_; }

  private:
    int line_;
};

} // namespace kv
