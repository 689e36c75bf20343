// Changing the machine's step scale.
#include "settings/machine_settings.h"

#include "settings/program_options.h"

void SetXYPulsesPerMM(float pulsesPerMM)
{
    g_XYPulsesPerMM = pulsesPerMM;
    g_PulsesPerMil = static_cast<float>(g_XYPulsesPerMM / 39.37);
    DeriveDisplayUnit();
}
