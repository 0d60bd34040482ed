// KORVELINE's table of actions as the window shows it: its list of keys fits over the picture
// (780 x 557) in either language.
#include "tools/instruments/action_table.h"
#include "viewer/boxes.h"

#include <gtest/gtest.h>

namespace {

using kv::viewer::Lang;

TEST(ActionTable, TheListOfKeysFitsOverThePictureInEitherLanguage) {
    for (const Lang lang : {Lang::Fr, Lang::En}) {
        const kv::Framebuffer box = kv::viewer::render_box(
            "KORVELINE : touches", kv::viewer::key_help(kv::tools::ActionTable(), lang));
        EXPECT_LE(box.width(), 780 - 8) << (lang == Lang::Fr ? "fr" : "en");
        EXPECT_LE(box.height(), 557 - 8) << (lang == Lang::Fr ? "fr" : "en");
    }
}

} // namespace
