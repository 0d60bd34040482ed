// The keys the README and the manual page list come from the program's one table of actions: each
// document holds a block made from it, between two marker lines. KORVELINE_RECORD=1 writes the
// blocks again (`KORVELINE_RECORD=1 ctest --preset release -R KeyDocs`).
#include "tools/instruments/action_table.h"
#include "viewer/actions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace kv::viewer {
namespace {

std::string sentence(std::string_view help) {
    std::string text(help);
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text + ".";
}

std::string readme_block() {
    std::string text = "| Key | Effect |\n| --- | --- |\n";
    for (const ActionInfo& a : kv::tools::ActionTable())
        text += "| " + keys_text(a, Lang::En, " or ") + " | " + std::string(a.help.en) + " |\n";
    return text;
}

// Each key in bold, roman " or " between them; minus signs and spaces as roff wants them.
std::string man_block() {
    std::string text;
    for (const ActionInfo& a : kv::tools::ActionTable()) {
        std::string keys;
        std::istringstream each(keys_text(a, Lang::En, "\n"));
        for (std::string key; std::getline(each, key);) {
            for (std::size_t at = key.find('-'); at != std::string::npos;
                 at = key.find('-', at + 2))
                key.replace(at, 1, "\\-");
            if (key.find(' ') != std::string::npos) key = '"' + key + '"';
            keys += (keys.empty() ? "" : " \" or \" ") + key;
        }
        // The page writes its accented letters as roff's escapes ("R \\(`a Z").
        std::string help = sentence(a.help.en);
        for (std::size_t at = help.find("\u00e0"); at != std::string::npos;
             at = help.find("\u00e0"))
            help.replace(at, 2, "\\(`a");
        text += std::string(text.empty() ? ".TP 14n\n" : ".TP\n") +
                (keys.find(" or ") != std::string::npos ? ".BR " : ".B ") + keys + '\n' + help +
                '\n';
    }
    return text;
}

// The block between the line `begin` and the line `end` of the file, written anew when
// recording.
void expect_block(const std::string& file, const std::string& begin, const std::string& end,
                  const std::string& block) {
    const std::string path = std::string(KORVELINE_SOURCE_DIR) + "/" + file;
    std::stringstream read;
    read << std::ifstream(path).rdbuf();
    std::string text = read.str();
    const std::size_t from = text.find(begin + '\n');
    const std::size_t to = text.find(end + '\n', from);
    ASSERT_NE(from, std::string::npos) << file << " has no line " << begin;
    ASSERT_NE(to, std::string::npos) << file << " has no line " << end;
    const std::size_t start = from + begin.size() + 1;
    if (std::getenv("KORVELINE_RECORD") != nullptr) {
        text.replace(start, to - start, block);
        std::ofstream(path, std::ios::binary) << text;
        return;
    }
    EXPECT_EQ(text.substr(start, to - start), block) << file << ": its keys differ from the table";
}

TEST(KeyDocs, TheReadmeAndTheManualPageListTheTablesKeys) {
    expect_block("README.md", "<!-- keys: from the viewer's table of actions -->",
                 "<!-- end of keys -->", readme_block());
    expect_block("data/korveline.1", ".\\\" keys: from the viewer's table of actions",
                 ".\\\" end of keys", man_block());
}

TEST(KeyDocs, EachKeyDoesOneThingAndEachActionSaysItInBothLanguages) {
    std::set<std::string> keys;
    for (const ActionInfo& a : kv::tools::ActionTable()) {
        EXPECT_FALSE(a.help.fr.empty() || a.help.en.empty() || a.label.fr.empty()) << a.name;
        for (const Chord& chord : a.keys) {
            if (chord.key.empty()) continue;
            const std::string name = std::string(chord.ctrl ? "Ctrl " : "") +
                                     (chord.shift ? "Shift " : "") + std::string(chord.key);
            EXPECT_TRUE(keys.insert(name).second)
                << a.name << ": " << name << " is already another action's";
            EXPECT_EQ(action_for_key(kv::tools::ActionTable(),
                                     {chord.key, chord.ctrl, false, false, chord.shift}),
                      a.action)
                << a.name;
        }
    }
}

} // namespace
} // namespace kv::viewer
