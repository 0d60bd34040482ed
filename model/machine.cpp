#include "model/machine.h"

#include "model/constantes.h"

tagMachine MachinePreset() {
    tagMachine m{};
    m.r_stator = 0.04;
    m.l_fuite = INDUCTANCE;
    m.l_magnetisante = 5.5e-3 / 1.5;
    m.r_rotor = 3.6 * RESISTANCE_SPIRE;
    m.l_rotor = INDUCTANCE;
    m.frottement = 1.2;
    return m;
}

tagMachine MachineDuLabo(const tagLabo& labo) {
    tagMachine m = MachinePreset();
    m.r_stator *= labo.r_stator;
    m.l_fuite *= labo.l_fuite;
    m.l_magnetisante *= labo.l_magnetisante;
    m.r_rotor *= labo.resistance;
    return m;
}
