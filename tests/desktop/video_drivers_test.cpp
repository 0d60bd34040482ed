// Which SDL video drivers are tried, and the text conversion for SDL's UTF-8 strings.
#include "backends/sdl/latin1.h"
#include "backends/sdl/video_drivers.h"

#include <gtest/gtest.h>

namespace {

using kv::sdl::display_driver_list;
using kv::sdl::DriverEnvironment;

const std::vector<std::string> kDebianSdl{"x11",       "wayland", "KMSDRM",
                                          "offscreen", "dummy",   "evdev"};

TEST(VideoDrivers, DriversWithoutAScreenAreNeverTried) {
    EXPECT_EQ(display_driver_list(kDebianSdl, {true, true}), "x11,wayland,KMSDRM");
    EXPECT_EQ(display_driver_list({"offscreen", "dummy"}, {true, true}), "");
}

TEST(VideoDrivers, WaylandIsSkippedWhenItCannotBeThere) {
    EXPECT_EQ(display_driver_list(kDebianSdl, {false, false}), "x11,KMSDRM");
    EXPECT_EQ(display_driver_list(kDebianSdl, {false, true}), "x11,wayland,KMSDRM");
    EXPECT_EQ(display_driver_list(kDebianSdl, {true, false}), "x11,wayland,KMSDRM");
}

TEST(VideoDrivers, OtherPlatformsKeepTheirOrder) {
    EXPECT_EQ(display_driver_list({"cocoa", "dummy"}, {}), "cocoa");
    EXPECT_EQ(display_driver_list({"windows", "offscreen", "x11"}, {}), "windows,x11");
}

TEST(Latin1, AccentsBecomeTwoByteUtf8AndAsciiStays) {
    EXPECT_EQ(kv::sdl::latin1_to_utf8("KORVELINE"), "KORVELINE");
    EXPECT_EQ(kv::sdl::latin1_to_utf8("R \xE0 Z"), "R \xC3\xA0 Z");
    EXPECT_EQ(kv::sdl::latin1_to_utf8("\xFF\x80"), "\xC3\xBF\xC2\x80");
    EXPECT_EQ(kv::sdl::latin1_to_utf8(std::string_view("a\0b", 3)), std::string("a\0b", 3));
}

} // namespace
