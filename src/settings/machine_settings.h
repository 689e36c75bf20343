// The machine's mechanics as the per-model defaults and the settings file set
// them: table size, step scales, stepping and travel limits, and the machine
// options that only the settings file sets. Held in one object so they can
// be reset together; the g_ names below reach them.
#pragma once

#include <cstdint>

class CMachineSettings {
public:
    int m_ModelSkipsProbeTest = 0;  // machine jobs skip the probe-test dialog
    double m_TableWidth = 12204.0;  // mil
    double m_TableHeight = 7874.0;  // mil
    float m_XYPulsesPerMM = 200.0f;
    float m_ZPulsesPerMM = 200.0f;
    float m_PulsesPerMil = 5.08f;   // XY pulses per mm / 39.37
    int m_XYTwoPhaseStep = 1;
    int m_ZTwoPhaseStep = 0;
    int m_ZLimit = 0;  // mm
    int m_XLimit = 0;  // mm
    int m_YLimit = 0;  // mm
    int m_ZInvertDir = 0;
    int m_DriverMode = 0x80;        // mode bits of the binary motion commands
    int m_CheckTime = 0;            // s between tool checks; 0: never
    int m_ToolDistance = 0;         // mil of cutting between tool re-tests; 0: never
    int m_StepDrill = 0;
    float m_SimDrillSize = 3.175f;  // mm: larger holes are milled
    float m_ToolUpDistance = 0.0f;
    int m_FixedPlungeMode = 0;      // 1: fixed Z heights instead of measured ones
    float m_AbsDrillDown = 0.0f;    // mm
    float m_AbsDrillUp = 0.0f;
    float m_AbsRouteDown = 0.0f;
    float m_AbsRouteUp = 0.0f;
    std::uint32_t m_BaudRate = 115200;  // of the binary controller's line
    float m_AbsEngraveDown = 0.0f;  // mm, fixed plunge mode's engraving heights
    float m_AbsEngraveUp = 0.0f;
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
inline int& g_ZInvertDir = g_MachineSettings.m_ZInvertDir;
inline int& g_DriverMode = g_MachineSettings.m_DriverMode;
inline int& g_CheckTime = g_MachineSettings.m_CheckTime;
inline int& g_ToolDistance = g_MachineSettings.m_ToolDistance;
inline int& g_StepDrill = g_MachineSettings.m_StepDrill;
inline float& g_SimDrillSize = g_MachineSettings.m_SimDrillSize;
inline float& g_ToolUpDistance = g_MachineSettings.m_ToolUpDistance;
inline int& g_FixedPlungeMode = g_MachineSettings.m_FixedPlungeMode;
inline float& g_AbsDrillDown = g_MachineSettings.m_AbsDrillDown;
inline float& g_AbsDrillUp = g_MachineSettings.m_AbsDrillUp;
inline float& g_AbsRouteDown = g_MachineSettings.m_AbsRouteDown;
inline float& g_AbsRouteUp = g_MachineSettings.m_AbsRouteUp;
inline std::uint32_t& g_BaudRate = g_MachineSettings.m_BaudRate;
inline float& g_AbsEngraveDown = g_MachineSettings.m_AbsEngraveDown;
inline float& g_AbsEngraveUp = g_MachineSettings.m_AbsEngraveUp;

// The controller found on the port: -1 none, 1 binary, 0 ASCII. The settings
// file can preset it; the port search sets it.
extern int g_ControllerKind;
// The plunge offset of the tool being planned (Z pulses): every segment and
// interval a planning run makes carries it, and the working depth of the
// engraving and routing jobs adds it.
extern int g_PlungeOffsetPulses;
// Sets the XY step scale and derives what depends on it (the pulses per mil
// and the display unit factor), so nothing keeps a factor of an older scale.
void SetXYPulsesPerMM(float pulsesPerMM);
