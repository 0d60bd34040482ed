// The page's address as the page reads it at start: the pairs as the browser's URLSearchParams
// gives them (the page names a refused pair by its place among the browser's), the settings set,
// and the clicks of the start state.
#include "tools/korveline_web/page_address.h"
#include "shell/zones.h"
#include "tools/instruments/lab_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

namespace {

using kv::web::AddressPairs;

TEST(PageAddress, ItsPairsAreTheBrowsersOwn) {
    struct Case {
        const char* query;
        std::vector<std::pair<std::string, std::string>> pairs;
    };
    const Case cases[] = {
        {"", {}},
        {"?", {}},
        {"?a=b+c&&d", {{"a", "b c"}, {"d", ""}}},
        {"=x&y==z", {{"", "x"}, {"y", "=z"}}},
        {"?%41%2c=%C3%A9%2B", {{"A,", "\xC3\xA9+"}}},
        {"%zz=%4&%=%%41", {{"%zz", "%4"}, {"%", "%A"}}},
        // Bytes that are no UTF-8: a U+FFFD each maximal bad part, as the browser decodes them.
        {"v=%E9%C3&w=%E2%82&x=%ED%A0%80&y=%F0%9F%98%80",
         {{"v", "\xEF\xBF\xBD\xEF\xBF\xBD"},
          {"w", "\xEF\xBF\xBD"},
          {"x", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
          {"y", "\xF0\x9F\x98\x80"}}},
    };
    for (const Case& c : cases) {
        std::vector<std::pair<std::string, std::string>> got;
        for (const kv::web::AddressPair& p : AddressPairs(c.query))
            got.emplace_back(p.name, p.value);
        EXPECT_EQ(got, c.pairs) << c.query;
    }
}

TEST(PageAddress, ASetUpSetsItsSettingsAndPlansItsClicksAndNamesWhatItRefuses) {
    tagLabo labo;
    const kv::web::AddressPlan plan = kv::web::ReadAddress(
        "?lang=en&colour=red&order=reversed&frequency=300&resistance=0%2C5&supply=on"
        "&show=rotor,middle,left&brake=1.5&look=projector&order=sideways",
        labo);
    EXPECT_EQ(kv::tools::LabSettingsText(labo),
              "order=reversed open=none frequency=100 voltage=100 resistance=0.5 load=constant "
              "poles=1 plot=motor");
    EXPECT_EQ(kv::web::AddressPlanJson(plan),
              R"({"refused":[{"pair":1,"unknown":true},{"pair":3,"unknown":false},)"
              R"({"pair":9,"unknown":false}],)"
              R"("clicks":["alim","rotor","coil1","brake","brake","brake"],)"
              R"("refusedStart":[{"pair":6,"part":1}]})");
    for (const char* brake : {"100.5", "2.25", "-1", "1e1", ".5", "5.", " 5"}) {
        tagLabo untouched;
        EXPECT_EQ(kv::web::AddressPlanJson(kv::web::ReadAddress(
                      std::string("brake=") + brake + "&supply=off", untouched)),
                  R"({"refused":[],"clicks":[],"refusedStart":[{"pair":0}]})")
            << brake;
    }
}

TEST(PageAddress, ADrivingLoadsBrakeGoesBelowZeroByRightClicks) {
    tagLabo driving;
    EXPECT_EQ(kv::web::AddressPlanJson(kv::web::ReadAddress("load=driving&brake=-1.5", driving)),
              R"({"refused":[],"clicks":[],"rightClicks":["brake","brake","brake"],)"
              R"("refusedStart":[]})");
    tagLabo constant;
    EXPECT_EQ(kv::web::AddressPlanJson(kv::web::ReadAddress("brake=-1.5&load=linear", constant)),
              R"({"refused":[],"clicks":[],"refusedStart":[{"pair":0}]})")
        << "no other law takes it";
}

TEST(PageAddress, EveryClickOfAStartStateIsARegionOfThePicture) {
    tagLabo labo;
    const kv::web::AddressPlan plan =
        kv::web::ReadAddress("supply=on&show=left,upper-right,lower-right,rotor&brake=0.5", labo);
    ASSERT_EQ(plan.clicks.size(), 6u);
    for (const std::string& click : plan.clicks) {
        EXPECT_TRUE(std::any_of(std::begin(zones), std::end(zones), [&](const tagZone& z) {
            return click == z.code;
        })) << click;
    }
}

} // namespace
