// The surface probing window and the probed surface it keeps: the points,
// their average, the grid spacing, the grid's start and the probed
// rectangle, which the working depth and the surface map read, and the
// plane-data file (".pos") they are saved to and loaded from. The probing
// run itself is in surface_probing.cpp.
#pragma once

#include "link/working_depth.h"
#include "machining/probe_test_dlg.h"
#include "platform/win_types.h"
#include "ui/dialog.h"
#include "ui/line_store.h"

#include <cstdint>
#include <string>
#include <vector>

class CPanelLayout;

// What the probing run needs of the board view that opened the window.
class CProbingView {
public:
    virtual ~CProbingView() = default;
    virtual void MachineHome() = 0;
    virtual void UpdatePositionDisplay() = 0;
    // The view's timer 1 at 30 ms, which takes the run's later steps.
    virtual void StartTimer() = 0;
    virtual const CPanelLayout* Layout() const = 0;
    virtual void Invalidate() {}
};

// A drill hole the probe keeps off: its centre and radius in XY pulses.
struct CHoleAvoid {
    std::int32_t x = 0;
    std::int32_t y = 0;
    float radius = 0.0f;
};

// The fields of a plane-data file, read apart from the window's state so a
// bad file changes nothing.
struct CPlaneData {
    std::int32_t spacing = 10;
    std::int32_t averageZ = 0;
    RECT extent;
    std::int32_t startX = 0, startY = 0;
    std::vector<CProbePoint> points;
};

// The bytes of a plane-data file: spacing, average Z, the layout extent
// (minimum X, minimum Y, maximum X, maximum Y), the grid's start point, then
// every point as Z, X, Y; all 32-bit little-endian, no header.
std::vector<std::uint8_t> PlaneDataBytes(const CPlaneData& data);
// Reads such bytes: false when they are too short for the fixed fields or
// the spacing is not a whole millimetre or more. A short last record is
// dropped.
bool ParsePlaneData(const std::vector<std::uint8_t>& bytes, CPlaneData& data);

class CPlaneDetectDlg : public CDialog, public CProbeGrid {
public:
    CPlaneDetectDlg();

    int m_Valid = 0;                 // 1 once a run finished or a file was loaded
    CProbingView* m_View = nullptr;  // the view that opened the window
    std::int32_t m_ZTarget = 6500;   // Z the probe returns to and descends from
    CLineEdit m_ResultText;          // "[X..Y..Z..]" a point
    std::int32_t m_GridStartX = 0, m_GridStartY = 0;
    int m_Open = 0;                  // the window was made
    std::vector<CHoleAvoid> m_HoleAvoid;
    std::string m_LeftTop, m_RightBottom;  // the corner texts, at most 20 characters

    // The window, once; 0 when it was made already or cannot be.
    virtual int CreateModeless();
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Commits a finished run: the probed rectangle, "temp.pos" and the
    // surface compensation; a run that did not finish commits nothing. The
    // window is hidden, not destroyed: it is made only once.
    void OnOK() override;
    // Stops the machine and the run, and hides the window.
    void OnCancel() override;
    void OnLoad();
    void OnSave();

    // The integer mean of the points' Z; kept as it is without points.
    void AverageZ();
    // 1 when the file was written. A file that cannot be written is told.
    int SavePlaneData(const std::string& path);
    // 1 when the file was read; a file that cannot be read or holds no
    // plane is told and changes nothing.
    int LoadPlaneData(const std::string& path);

    // The probing run (surface_probing.cpp).
    void OnStartMeasure();
    // One step; 1 when the run has ended.
    int RunProbing(int start);
    int IsProbeTouching();
    void BuildHoleAvoidList();
    // x moved off any hole near (x, y).
    int AvoidHoles(int x, int y) const;
    // The profile of the current grid row (start index; 0 a new run, -1
    // the same row): the polyline in the profile box's pixels.
    void DrawRowProfile(int start);
    std::vector<POINT> m_Profile;
    int m_ProfileRowStart = 0;
    // The corner texts of the layout extent ("%ld,%ld" and the like).
    void FormatCorners(const char* format);

private:
    // The grid is done: the machine homed, the surface final.
    int FinishProbing();
    void ShowResults();
};

// The probing window's probed surface, which every depth reads.
extern CPlaneDetectDlg g_PlaneDetectDlg;
