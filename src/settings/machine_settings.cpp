// Changing the machine's step scale.
#include "settings/machine_settings.h"

#include "settings/program_options.h"

void SetXYPulsesPerMM(float pulsesPerMM)
{
    g_XYPulsesPerMM = pulsesPerMM;
    DeriveDisplayUnit();
}
