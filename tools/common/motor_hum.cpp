#include "tools/common/motor_hum.h"

#include "shell/scene.h"
#include "tools/common/synchronous_speed.h"

std::optional<kv::viewer::Hum> MotorHum() {
    if (alim.amplitude <= 0) return std::nullopt;
    const double supply_hz = kv::tools::kNominalHz * labo.frequence / 100;
    const double share = Mas.omega / kv::tools::SynchronousOmega();
    return kv::viewer::Hum{supply_hz, supply_hz * share};
}
