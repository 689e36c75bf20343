// The machine parameters: speeds, depths, heights and tool-changer slots,
// kept as the registry values "m2" to "m24", and the machine's switch states.
// The dialog object's members are the program-wide values; the g_ names
// below reach them. The dialog shows eight of them; it changes the members
// only when OK finds every entry in range, and stores them then.
#pragma once

#include "ui/dialog.h"

#include <array>
#include <cstdint>
#include <string>

struct CToolSlot {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

constexpr int TOOL_CHANGER_SLOTS = 9;

// Spindle revolutions per second of the binary controller's speed codes 0
// to 255, strictly rising.
extern const std::array<float, 256> g_SpindleRevTable;

class CMachineParamDlg : public CDialog {
public:
    int m_ELState = 1;            // 0 after the DL command, 1 after EL
    int m_JobRunning = 0;         // the spindle is wanted on
    int m_EBState = 0;            // 0 after EB0, 1 after EB1 and the controller reset
    std::string m_MachineModel;   // read from the registry value "Machine"
    int m_CurrentToolNo = 0;
    int m_JogStep = 4000;         // pulses
    int m_MachineOffset = 0;      // Z of the tool tip, pulses
    float m_HomeSpeed = 16.0f;    // m2
    float m_ParamM3 = 35.0f;      // m3
    float m_RapidSpeed = 35.0f;   // m4, mm/s
    float m_ZSpeed = 2.0f;        // m5, mm/s
    float m_PlungeSpeed = 2.0f;   // m6, mm/s
    float m_ParamM7 = 8.0f;       // m7
    float m_LiftSpeed = 24.0f;    // m8, mm/s
    float m_ParamM9 = 15.0f;      // m9
    float m_LiftHeight = 0.0f;    // m10, mm
    float m_ParamM11 = 12.0f;     // m11
    float m_ParamM12 = 0.0f;      // m12
    float m_ParamM13 = 15.0f;     // m13
    float m_ParamM14 = 15.0f;     // m14, mm
    float m_DrillDepth = 2.8f;    // m15, mm
    float m_RouteDepth = 1.6f;    // m16, mm
    float m_EngraveDepth = 0.0f;  // m17, mm
    float m_EngraveSpeed = 8.0f;  // m18, mm/s
    float m_ParamM19 = 10.0f;     // m19
    float m_RouteSpeed = 1.0f;    // m20, mm/s
    float m_ZTop = 18.5f;         // m21, mm
    std::array<CToolSlot, TOOL_CHANGER_SLOTS> m_ToolChangerPositions{};  // m23
    float m_SpindleSpeed = 0.0f;  // m24, RPM
    // Set by the settings file only.
    float m_XYAcceleration = 5.0f;
    float m_SimToolSize = 1.5f;   // mm, the router that mills large holes
    int m_ToolChangePosition = 1; // 1: tool changes at the model's change position

    // Reads the machine model from the registry, as the per-model defaults
    // start from it.
    CMachineParamDlg();

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // The Defaults button: the factory values into the members and the fields.
    void OnDefaults();

    // The binary controller's speed code for `rpm` on the current model.
    static std::uint8_t RpmToSpindleCode(float rpm);
    // The output word that carries `code` in its high byte, `word`'s low byte
    // kept: each half of the code rotated left by one bit, then inverted.
    static std::uint16_t SpindleOutputWord(std::uint8_t code, std::uint16_t word);
    // Sends the speed code to the binary controller's outputs (machining).
    static void SendSpindleCode(std::uint8_t code);
    // Spindle speed in rpm to the controller (machining).
    static void SetSpindleSpeed(float rpm);

private:
    // The members the dialog and its Defaults button change, as they were
    // when the window opened; Cancel and a refused OK give them back.
    static const std::array<float CMachineParamDlg::*, 18> kEditedMembers;
    std::array<float, 18> m_Opened{};
    void RestoreOpened();
};

extern CMachineParamDlg g_MachineParamDlg;

inline int& g_ELState = g_MachineParamDlg.m_ELState;
inline int& g_JobRunning = g_MachineParamDlg.m_JobRunning;
inline int& g_EBState = g_MachineParamDlg.m_EBState;
inline std::string& g_MachineModel = g_MachineParamDlg.m_MachineModel;
inline int& g_CurrentToolNo = g_MachineParamDlg.m_CurrentToolNo;
inline int& g_JogStep = g_MachineParamDlg.m_JogStep;
inline int& g_MachineOffset = g_MachineParamDlg.m_MachineOffset;
inline float& g_HomeSpeed = g_MachineParamDlg.m_HomeSpeed;
inline float& g_ParamM3 = g_MachineParamDlg.m_ParamM3;
inline float& g_RapidSpeed = g_MachineParamDlg.m_RapidSpeed;
inline float& g_ZSpeed = g_MachineParamDlg.m_ZSpeed;
inline float& g_PlungeSpeed = g_MachineParamDlg.m_PlungeSpeed;
inline float& g_ParamM7 = g_MachineParamDlg.m_ParamM7;
inline float& g_LiftSpeed = g_MachineParamDlg.m_LiftSpeed;
inline float& g_ParamM9 = g_MachineParamDlg.m_ParamM9;
inline float& g_LiftHeight = g_MachineParamDlg.m_LiftHeight;
inline float& g_ParamM11 = g_MachineParamDlg.m_ParamM11;
inline float& g_ParamM12 = g_MachineParamDlg.m_ParamM12;
inline float& g_ParamM13 = g_MachineParamDlg.m_ParamM13;
inline float& g_ParamM14 = g_MachineParamDlg.m_ParamM14;
inline float& g_DrillDepth = g_MachineParamDlg.m_DrillDepth;
inline float& g_RouteDepth = g_MachineParamDlg.m_RouteDepth;
inline float& g_EngraveDepth = g_MachineParamDlg.m_EngraveDepth;
inline float& g_EngraveSpeed = g_MachineParamDlg.m_EngraveSpeed;
inline float& g_ParamM19 = g_MachineParamDlg.m_ParamM19;
inline float& g_RouteSpeed = g_MachineParamDlg.m_RouteSpeed;
inline float& g_ZTop = g_MachineParamDlg.m_ZTop;
inline std::array<CToolSlot, TOOL_CHANGER_SLOTS>& g_ToolChangerPositions =
    g_MachineParamDlg.m_ToolChangerPositions;
inline float& g_SpindleSpeed = g_MachineParamDlg.m_SpindleSpeed;
inline float& g_XYAcceleration = g_MachineParamDlg.m_XYAcceleration;
inline float& g_SimToolSize = g_MachineParamDlg.m_SimToolSize;
inline int& g_ToolChangePosition = g_MachineParamDlg.m_ToolChangePosition;
// The router diameter (mm) that names the route layer offset rings are
// taken into; the copper-to-route offset command sets it.
extern float g_RouteOffsetDistance;
