// The machine's mechanics as the per-model defaults and the settings file set
// them: table size, step scales, stepping and travel limits. Held in one
// object so they can be reset together; the g_ names below reach them.
#pragma once

class CMachineSettings {
public:
    int m_ModelSkipsProbeTest = 0;  // machine jobs skip the probe-test dialog
    double m_TableWidth = 0.0;      // mil
    double m_TableHeight = 0.0;     // mil
    float m_XYPulsesPerMM = 200.0f;
    float m_ZPulsesPerMM = 200.0f;
    float m_PulsesPerMil = 5.08f;   // XY pulses per mm / 39.37
    int m_XYTwoPhaseStep = 0;
    int m_ZTwoPhaseStep = 0;
    int m_ZLimit = 0;  // mm
    int m_XLimit = 0;  // mm
    int m_YLimit = 0;  // mm
};

extern CMachineSettings g_MachineSettings;

inline int& g_ModelSkipsProbeTest = g_MachineSettings.m_ModelSkipsProbeTest;
inline double& g_TableWidth = g_MachineSettings.m_TableWidth;
inline double& g_TableHeight = g_MachineSettings.m_TableHeight;
inline float& g_XYPulsesPerMM = g_MachineSettings.m_XYPulsesPerMM;
inline float& g_ZPulsesPerMM = g_MachineSettings.m_ZPulsesPerMM;
inline float& g_PulsesPerMil = g_MachineSettings.m_PulsesPerMil;
inline int& g_XYTwoPhaseStep = g_MachineSettings.m_XYTwoPhaseStep;
inline int& g_ZTwoPhaseStep = g_MachineSettings.m_ZTwoPhaseStep;
inline int& g_ZLimit = g_MachineSettings.m_ZLimit;
inline int& g_XLimit = g_MachineSettings.m_XLimit;
inline int& g_YLimit = g_MachineSettings.m_YLimit;

// Sets the XY step scale and derives what depends on it (the display unit
// factor), so nothing keeps a factor of an older scale.
void SetXYPulsesPerMM(float pulsesPerMM);
