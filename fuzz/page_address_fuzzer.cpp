// Fuzzes the page's address reader: any bytes after the '?' give pairs of valid UTF-8 that read
// back the same once written again, laboratory settings each within its setting's range (a
// refused one changes nothing), refusals that name pairs the address has, and at most the clicks
// a start state may ask for.
#include "fuzz/fuzz_check.h"
#include "tools/instruments/lab_settings.h"
#include "tools/korveline_web/page_address.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

using kv::web::AddressPair;
using kvfuzz::check;

// The text as an address writes it: every byte but letters and digits as %XX.
std::string encoded(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'z') ||
            (byte >= 'A' && byte <= 'Z')) {
            out += c;
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", byte);
            out += hex;
        }
    }
    return out;
}

// Valid UTF-8, as a browser's decoding leaves it (no surrogate, nothing above U+10FFFF, no
// overlong form).
bool valid_utf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
        std::size_t n = 0;
        std::uint32_t cp = 0;
        if (b(i) < 0x80) {
            n = 1;
            cp = b(i);
        } else if ((b(i) & 0xE0) == 0xC0) {
            n = 2;
            cp = b(i) & 0x1F;
        } else if ((b(i) & 0xF0) == 0xE0) {
            n = 3;
            cp = b(i) & 0x0F;
        } else if ((b(i) & 0xF8) == 0xF0) {
            n = 4;
            cp = b(i) & 0x07;
        } else {
            return false;
        }
        if (i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k) {
            if ((b(i + k) & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (b(i + k) & 0x3F);
        }
        const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < least[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += n;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view query(reinterpret_cast<const char*>(data), size);
    const std::vector<AddressPair> pairs = kv::web::AddressPairs(query);

    std::string again;
    for (const AddressPair& p : pairs) {
        check(valid_utf8(p.name) && valid_utf8(p.value), "pairs in valid UTF-8");
        again += (again.empty() ? "" : "&") + encoded(p.name) + "=" + encoded(p.value);
    }
    const std::vector<AddressPair> reread = kv::web::AddressPairs(again);
    check(reread.size() == pairs.size(), "the pairs written again are as many");
    for (std::size_t k = 0; k < pairs.size() && k < reread.size(); ++k) {
        check(reread[k].name == pairs[k].name && reread[k].value == pairs[k].value,
              "each pair written again reads back the same");
    }

    tagLabo labo;
    const kv::web::AddressPlan plan = kv::web::ReadAddress(query, labo);
    // What it set is within the table: every setting reads back as written.
    tagLabo reread_labo;
    const std::string settings = kv::tools::LabSettingsText(labo);
    for (std::size_t start = 0; start < settings.size();) {
        const std::size_t space = settings.find(' ', start);
        const std::string pair = settings.substr(start, space - start);
        check(kv::tools::SetLabPair(pair, reread_labo).empty(), "every setting set is in range");
        start = space == std::string::npos ? settings.size() : space + 1;
    }
    check(kv::tools::LabSettingsText(reread_labo) == settings, "the settings read back the same");

    std::size_t previous = 0;
    for (const kv::web::AddressPlan::Refused& r : plan.refused) {
        check(r.pair < pairs.size(), "a refusal names a pair of the address");
        check(r.pair >= previous, "refusals in the address's order");
        previous = r.pair + 1;
    }
    // Supply and show click once for each thing they name: ALIM, each part of the first show.
    std::size_t show_parts = 0;
    for (const AddressPair& p : pairs) {
        if (p.name != "show") continue;
        show_parts = 1 + static_cast<std::size_t>(std::count(p.value.begin(), p.value.end(), ','));
        break;
    }
    std::size_t brakes = 0, others = 0;
    for (const std::string& click : plan.clicks)
        (click == "brake" ? brakes : others) += 1;
    check(brakes <= 200, "the brake at most 100, in 200 clicks");
    check(others <= 1 + show_parts, "a click for each thing the start state names, no more");
    for (const auto& [k, part] : plan.refused_start) {
        check(k < pairs.size(), "a refused start state names a pair of the address");
        check(!part || *part < show_parts, "a refused part of show is one of its parts");
    }
    return 0;
}
