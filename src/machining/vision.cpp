// The vision commands: focus, calibration, sampling and origin adjustment.
#include "machining/vision.h"

#include "geometry/board_orientation.h"
#include "geometry/plane_geometry.h"
#include "geometry/registration.h"
#include "link/link_state.h"
#include "machining/camera_offset_dlg.h"
#include "machining/hole_text.h"
#include "machining/homing.h"
#include "machining/position_dlg.h"
#include "platform/host.h"
#include "platform/message_pump.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/machine_settings.h"
#include "settings/registry.h"

#include <cstdio>

CCameraSource* g_CameraSource = nullptr;

CDPoint CameraHolePosition()
{
    const CCameraOffset offset = ReadCameraOffset();
    ReadPositionReply(20);
    CDPoint at(static_cast<double>(g_MachineX) + offset.x,
               static_cast<double>(g_MachineY) + offset.y);
    double dx = 0.0, dy = 0.0;
    if (!g_CameraSource)
        g_StatusText = LoadResString(IDS_NO_CAMERA);
    else if (g_CameraSource->HoleOffset(&dx, &dy))
        at += CDPoint(dx, dy);
    return at;
}

void LensFocus()
{
    if (!g_CameraSource)
        g_StatusText = LoadResString(IDS_NO_CAMERA);
    g_MachineLink.CmdEB(0);
    g_MachineLink.Send();
    AfxMessageBox(LoadResString(IDS_ADJUST_FOCUS));
    g_MachineLink.CmdEB(1);
    g_MachineLink.Send();
}

int StartDrillSampling(int* sampleMode)
{
    if (g_TargetCount >= kMaxTargetSets) {
        AfxMessageBox("Out of 18 sets !");
        return 0;
    }
    *sampleMode = 1;
    return 1;
}

void RecordVisionTarget(const CDPoint& hole)
{
    const int n = g_TargetCount;
    if (n >= kMaxTargetSets)
        return;
    Host().MessageBeep(0);
    const CDPoint machine = CameraHolePosition();
    g_TargetPoints[2 * n] = CDPoint(hole.x * g_PulsesPerMil, hole.y * g_PulsesPerMil);
    g_TargetPoints[2 * n + 1] = machine;
    CRegistryBatch batch;
    for (int i : {2 * n, 2 * n + 1}) {
        RegSetDouble("TC_x" + std::to_string(i), g_TargetPoints[i].x);
        RegSetDouble("TC_y" + std::to_string(i), g_TargetPoints[i].y);
    }
    g_TargetCount = n + 1;
    RegSetInt("TargetCount", g_TargetCount);
}

int ResetCcdOffset()
{
    if (AfxMessageBox(LoadResString(IDS_ASK_RESET_CCD_OFFSET), MB_YESNO | MB_ICONQUESTION) !=
        IDYES)
        return 0;
    if (!g_CameraSource)
        g_StatusText = LoadResString(IDS_NO_CAMERA);
    std::int32_t x1 = 0, y1 = 0;
    RegGetLong("x1", x1);
    RegGetLong("y1", y1);
    if (!ReadPositionReply(100))
        return 0;
    StoreCameraOffset(x1 - g_MachineX, y1 - g_MachineY);
    Host().MessageBeep(0);
    return 1;
}

void DrillLensCalibrationHole()
{
    std::int32_t x = 0, y = 0;
    if (!DrillCalibrationHole(ECalibrationHole::LensCalibration, &x, &y) || g_AbortFlag)
        return;
    if (!ReadPositionReply(100))
        return;
    const CCameraOffset offset = ReadCameraOffset();
    g_MachineLink.CmdSP3(20.0f * g_XYPulsesPerMM, 20.0f * g_XYPulsesPerMM, 20.0f * g_ZPulsesPerMM);
    g_MachineLink.Send();
    // The camera goes over the hole only where that stays on the table.
    if (g_MachineX - offset.x > 0 && g_MachineY - offset.y > 0) {
        g_MachineLink.CmdMR3(static_cast<float>(-offset.x), static_cast<float>(-offset.y), 0.0f);
        g_MachineLink.Send();
    }
}

bool MatchMeasuredHole(CHoleTextWalk& measure, const COwnedList<CLayoutBlock>& blocks,
                       const CDPoint& target, CDPoint* match)
{
    if (!measure.Available() || blocks.empty())
        return false;
    measure.Restart();
    // Each section (up to a tool selection or the end) is read once per
    // board copy, starting again at its first line for the next copy.
    int sectionStart = measure.NextLine();
    bool atEnd = false;
    while (!atEnd && !g_AbortFlag) {
        int sectionEnd = sectionStart;
        for (const auto& block : blocks) {
            measure.SeekLine(sectionStart);
            for (;;) {
                const EHoleBlock read = measure.Next();
                PumpMessages();
                if (read == EHoleBlock::End || read == EHoleBlock::Tool) {
                    atEnd = read == EHoleBlock::End;
                    break;
                }
                if (read != EHoleBlock::Position)
                    continue;
                const CDPoint hole = measure.Point();
                CDPoint p(hole.x - block->m_RefCentre.x, hole.y - block->m_RefCentre.y);
                ApplyBoardOrientation(*block, &p);
                p += block->m_Centre;
                p *= g_PulsesPerMil;
                if (DistanceDF(target.x, target.y, static_cast<float>(p.x),
                               static_cast<float>(p.y)) < kMatchRadiusPulses) {
                    Host().MessageBeep(0);
                    *match = p;
                    return true;
                }
            }
            sectionEnd = measure.NextLine();
        }
        sectionStart = sectionEnd;
    }
    return false;
}

void AdjustOrigin(CHoleTextWalk& measure, const COwnedList<CLayoutBlock>& blocks,
                  const CMachineViewHooks& view)
{
    if (!g_MachineLink.IsReady() || g_AbortFlag)
        return;
    view.connect();
    g_PositionPollOff = 0;
    g_AbortFlag = 0;
    g_PositionDlg.CreateOnce();
    g_PositionDlg.ShowWindow(true);
    view.startTimer();
    if (!g_CameraSource)
        g_StatusText = LoadResString(IDS_NO_CAMERA);
    CAdjustOriginDlg dialog;
    const int answer = dialog.DoModal();
    g_PositionDlg.ShowWindow(false);
    g_PositionPollOff = 1;
    view.stopTimer();
    if (answer != IDOK)
        return;
    // The measured holes are placed without any correction; the one in
    // force comes back when no hole matches.
    const float keptX = g_CameraOffsetX, keptY = g_CameraOffsetY;
    g_CameraOffsetX = 0.0f;
    g_CameraOffsetY = 0.0f;
    const CCameraOffset offset = ReadCameraOffset();
    CDPoint target(static_cast<double>(offset.x) + dialog.m_MatchX,
                   static_cast<double>(offset.y) + dialog.m_MatchY);
    double dx = 0.0, dy = 0.0;
    if (g_CameraSource && g_CameraSource->HoleOffset(&dx, &dy))
        target += CDPoint(dx, dy);
    CDPoint match;
    if (!MatchMeasuredHole(measure, blocks, target, &match)) {
        g_CameraOffsetX = keptX;
        g_CameraOffsetY = keptY;
        AfxMessageBox("Adjust Fail !");
        return;
    }
    g_CameraOffsetX = static_cast<float>((target.x - match.x) / g_PulsesPerMil);
    g_CameraOffsetY = static_cast<float>((target.y - match.y) / g_PulsesPerMil);
    AfxMessageBox("Adjust Ok !");
}
