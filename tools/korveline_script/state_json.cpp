#include "tools/korveline_script/state_json.h"

#include "shell/scene.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

// 17 significant digits read back to the same double; JSON has no NaN or infinity.
std::string number(double v) {
    if (!std::isfinite(v)) return "null";
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", v);
    return buffer;
}

std::string flag(bool b) {
    return b ? "true" : "false";
}

} // namespace

std::string StateJson(std::uint64_t tick) {
    std::string s = "{\"tick\":" + std::to_string(tick);
    s += ",\"alim\":{\"amplitude\":" + number(alim.amplitude) + ",\"phase\":" + number(alim.phase) +
         ",\"phase_step\":" + number(alim.phase_step) + "}";
    s += ",\"mas\":{\"phi1\":" + number(Mas.phi1) + ",\"i1\":" + number(Mas.i1) +
         ",\"phi2\":" + number(Mas.phi2) + ",\"i2\":" + number(Mas.i2) +
         ",\"phi3\":" + number(Mas.phi3) + ",\"i3\":" + number(Mas.i3) +
         ",\"theta\":" + number(Mas.theta) + ",\"omega\":" + number(Mas.omega) + "}";
    s += ",\"courbe\":{\"last_torque\":" + number(courbe.last_torque) +
         ",\"last_omega\":" + number(courbe.last_omega) + "}";
    s += ",\"frein\":{\"couple\":" + number(frein.couple) +
         ",\"couple_step\":" + number(frein.couple_step) + "}";
    s += ",\"masdessin\":{\"show_field1\":" + flag(masdessin.show_field1) +
         ",\"show_field2\":" + flag(masdessin.show_field2) +
         ",\"show_field3\":" + flag(masdessin.show_field3) +
         ",\"show_resultant\":" + flag(masdessin.show_resultant) + "}}";
    return s;
}
