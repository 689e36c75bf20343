// The camera beside the spindle: the Adjust Origin window, which drills a
// calibration hole, lets the operator bring the camera over it, stores the
// spindle-to-camera offset ("AX", "AY", machine pulses) and records a matched
// position for its caller; the calibration hole itself, shared with the
// vision tool bar's command; and the measurement report of three points.
#pragma once

#include "ui/dialog.h"

#include <cstdint>
#include <string>

// Pulse conversions of the measuring and camera code.
float PulsesToMil(int pulses);
float PulsesToMM(int pulses);
int MMToPulses(float mm);
inline double IntToDouble(int value) { return static_cast<double>(value); }

// The camera offset stored in the registry ("AX", "AY"; 0 when missing).
struct CCameraOffset {
    std::int32_t x = 0;
    std::int32_t y = 0;
};
CCameraOffset ReadCameraOffset();
void StoreCameraOffset(std::int32_t ax, std::int32_t ay);

// Which caller drills the calibration hole: the Adjust Origin window keeps
// the hole's position in its members; the vision tool bar's command stores
// it as "x1", "y1" and then brings the camera over the hole.
enum class ECalibrationHole { AdjustOrigin, LensCalibration };

// Drills the calibration hole: homes Z, offers the tool change, touches the
// board off with the surface detection and drills 0.2 mm into it. STOP ends
// it before the next command, the machine left where it is. On success the
// spindle's X and Y over the hole are returned through `holeX`, `holeY` and
// true.
bool DrillCalibrationHole(ECalibrationHole caller, std::int32_t* holeX, std::int32_t* holeY);

class CAdjustOriginDlg : public CDialog {
public:
    std::int32_t m_HoleX = 0, m_HoleY = 0;
    std::int32_t m_CamX = 0, m_CamY = 0;
    std::int32_t m_MatchX = 0, m_MatchY = 0;
    float m_JogSpeed = 0.0f;  // mm/s

    CAdjustOriginDlg();
    bool OnInitDialog() override;
    // The close box: stops the machine, then the window ends as cancelled.
    void OnCancel() override;

    void OnJog(float dx, float dy);
    void OnHome();
    void OnDrillHole();
    void OnGetOffset();
    void OnMatchHole();
    void OnMove();
    void OnFocus();

private:
    // STOP pending: the window closes with OK and the press sends nothing.
    bool ClosedByAbort();
    void SendJogSpeed();
};

// The three measured points of the report, in machine pulses.
struct CMeasurePoints {
    float ax = 0.0f, ay = 0.0f;
    float bx = 0.0f, by = 0.0f;
    float cx = 0.0f, cy = 0.0f;
};

enum class EMeasureUnit { Pulse, MM, Mil };

// The report text: the points, AB, BC, the diameter of the circle through
// the three points, the angle at B (0 to 180 degrees) and the distance of C
// from the line AB, in `unit`.
std::string MeasureReport(const CMeasurePoints& points, EMeasureUnit unit);

class CMeasureDlg : public CDialog {
public:
    CMeasurePoints m_Points;
    std::string m_Report;

    CMeasureDlg();
    // Shows the report in the unit last chosen ("Measure").
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void ShowReport(EMeasureUnit unit);
};
