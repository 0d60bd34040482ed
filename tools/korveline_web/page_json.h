// The page's answers in JSON, written by hand as they go: objects and arrays opened and closed,
// members named, texts escaped. The writer puts the commas; what is written in what is the
// caller's to keep right.
#pragma once

#include <string>
#include <string_view>

namespace kv::web::json {

// A UTF-8 text as a JSON string: quotes, backslashes and control characters escaped.
std::string Text(std::string_view utf8);

// The fewest digits that read back as the same double; null for one that is not finite.
std::string Number(double value);

class Writer {
  public:
    Writer& begin_object();
    Writer& end_object();
    Writer& begin_array();
    Writer& end_array();
    Writer& key(std::string_view name); // a member's name, before its value
    Writer& text(std::string_view utf8);
    Writer& number(double value);
    Writer& boolean(bool value);
    const std::string& str() const { return out_; }

  private:
    void separate();
    std::string out_;
    bool after_value_ = false; // a value, or a whole object or array, just written
    bool after_key_ = false;
};

} // namespace kv::web::json
