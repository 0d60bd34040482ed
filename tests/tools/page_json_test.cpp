// The page's answers in JSON: what the browser's JSON.parse must read back as it was meant.
#include "tools/korveline_web/page_json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

namespace json = kv::web::json;

TEST(PageJson, TextsEscapedNumbersShortestCommasWhereTheyGo) {
    EXPECT_EQ(json::Text("a \"b\" \\ c"), R"("a \"b\" \\ c")");
    EXPECT_EQ(json::Text("line\nnext\ttab\x01\x1f\x7f"), "\"line\\nnext\\ttab\\u0001\\u001f\x7f\"");
    EXPECT_EQ(json::Text("bobine en haut à droite, ×"), "\"bobine en haut à droite, ×\"");
    EXPECT_EQ(json::Text(std::string_view("\0", 1)), R"("\u0000")");

    EXPECT_EQ(json::Number(0.5), "0.5");
    EXPECT_EQ(json::Number(200), "200");
    EXPECT_EQ(json::Number(0.1), "0.1");
    EXPECT_EQ(json::Number(-0.0), "-0");
    EXPECT_EQ(json::Number(1e21), "1e+21");
    const double third = 1.0 / 3;
    EXPECT_EQ(std::strtod(json::Number(third).c_str(), nullptr), third);
    EXPECT_EQ(json::Number(std::numeric_limits<double>::infinity()), "null");
    EXPECT_EQ(json::Number(std::nan("")), "null");

    json::Writer empty;
    empty.begin_array().begin_object().end_object().begin_array().end_array().end_array();
    EXPECT_EQ(empty.str(), "[{},[]]");
    json::Writer w;
    w.begin_object().key("z").boolean(true).key("a").begin_array().number(1).text("x");
    w.begin_object().key("k\"").boolean(false).key("n").number(0.25).end_object();
    w.end_array().key("o").begin_object().end_object().end_object();
    EXPECT_EQ(w.str(), R"({"z":true,"a":[1,"x",{"k\"":false,"n":0.25}],"o":{}})");
}

} // namespace
