// The path calculation (command 33075): the operator chooses the three
// tools and the layers to make; the old tool-path layers go, then each side
// of the work order gets its layers in the fixed order of the tools.
#include "document/velm_doc.h"
#include "link/ascii_link.h"
#include "link/link_state.h"
#include "planning/path_calc_dlg.h"
#include "planning/scan_isolation.h"
#include "platform/host.h"
#include "platform/message_pump.h"
#include "platform/resources.h"
#include "records/board_records.h"
#include "resource_ids.h"
#include "settings/registry.h"
#include "settings/work_order_dlg.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The side of the layers that belong to no board side (route and others).
constexpr int kNoSide = 5;
// How much wider than the tool the tool-2 isolation cuts (mil).
constexpr int kTool2Extra = 5;
// How far tool 3's strokes stay from what tool 2 has cut (mil).
constexpr float kTool3Reach = 5.0f;
// The path calculation always runs tool 1 at this pitch (mil).
constexpr int kTool1Pitch = 2;
// The machine output switched on while the end is announced.
constexpr int kDoneOutput = 5;

// Z pulses as the generators carry them: the depth truncated toward zero.
int PlungeOf(float depth)
{
    return std::isfinite(depth) && std::fabs(depth) < 2.0e9f ? static_cast<int>(depth) : 0;
}

void SwitchOutput(int state)
{
    if (g_PortState < 0)
        return;
    g_MachineLink.CmdOutput(kDoneOutput, state);
    g_MachineLink.Send();
}

// The first layer of a side with exactly that name, as a list position.
std::size_t FindLayer(const COwnedList<CPathRecord>& layers, const char* name, int side)
{
    for (std::size_t i = 0; i < layers.size(); ++i)
        if (layers[i]->side == side && layers[i]->name == name)
            return i;
    return layers.size();
}

}  // namespace

void CVelmDoc::ClearGridPathSegments() { m_GridPathList.clear(); }

int CVelmDoc::ReadStoredTools()
{
    float stored = 0.0f;
    RegGetFloat("Tool1Size", stored);
    if (stored == 0.0f)
        return 0;
    RegGetFloat("Tool1Size", m_ToolWidth1);
    RegGetFloat("Tool2Size", m_ToolWidth2);
    RegGetFloat("Tool3Size", m_ToolWidth3);
    RegGetFloat("Tool1Depth", m_ToolValue1);
    RegGetFloat("Tool2Depth", m_ToolValue2);
    RegGetFloat("Tool3Depth", m_ToolValue3);
    return 1;
}

void CVelmDoc::WriteStoredTools() const
{
    RegSetFloat("Tool1Size", m_ToolWidth1);
    RegSetFloat("Tool2Size", m_ToolWidth2);
    RegSetFloat("Tool3Size", m_ToolWidth3);
    RegSetFloat("Tool1Depth", m_ToolValue1);
    RegSetFloat("Tool2Depth", m_ToolValue2);
    RegSetFloat("Tool3Depth", m_ToolValue3);
}

void CVelmDoc::OnPathCalculation()
{
    if (g_JobCode != 0)
        return;
    CPathCalcDlg dlg;
    if (ReadStoredTools()) {
        RegGetInt("T1Select", dlg.T1Select);
        RegGetFloat("Overlap", m_ClearOverlap);
        RegGetString("m_unit", dlg.m_unit);
    }
    dlg.FillFromTools(*this);
    if (dlg.DoModal() != IDOK)
        return;
    dlg.WriteBackTools(*this);
    m_T1Step = kTool1Pitch;
    if (!ToolWidthsInOrder()) {
        AfxMessageBox("Error: T3 > T2 > t1", MB_OK);
        return;
    }
    m_ClearOverlap = dlg.m_Overlap;
    WriteStoredTools();
    RegSetInt("T1Select", dlg.T1Select);
    RegSetFloat("Overlap", m_ClearOverlap);
    RegSetString("m_unit", dlg.m_unit);

    CPathLayerChoice choice;
    choice.t1Iso = dlg.m_T1Iso;
    choice.t1Clear = dlg.m_T1Clear;
    choice.t2Iso = dlg.m_T2Iso;
    choice.t2Clear = dlg.m_T2Clear;
    choice.t3Clear = dlg.m_T3Clear;
    // A cancelled isolation ends the command there: no message, no repaint.
    if (!CalculatePathLayers(choice))
        return;
    if (choice.t1Iso && choice.t1Clear)
        CDocumentViewHooks::Run(m_ViewHooks.blockLayout);
    SwitchOutput(1);
    AfxMessageBox(LoadResString(IDS_PATHS_DONE), MB_OK);
    SwitchOutput(0);
    CDocumentViewHooks::Run(m_ViewHooks.updateAllViews);
}

int CVelmDoc::CalculatePathLayers(const CPathLayerChoice& choice)
{
    auto& layers = m_PathLayerList;
    layers.erase(std::remove_if(layers.begin(), layers.end(),
                                [](const auto& layer) { return layer->side != kNoSide; }),
                 layers.end());

    auto sideSequence = [&]() {
        if (choice.t2Iso) {
            g_PlungeOffsetPulses = PlungeOf(m_ToolValue2);
            if (!CalcIsolationT2(kTool2Extra))
                return 0;
            ClearGridPathSegments();
        }
        if (choice.t3Clear) {
            g_PlungeOffsetPulses = PlungeOf(m_ToolValue3);
            m_IsolationDone = 0;
            if (!CalcPathT3(static_cast<int>(m_ToolWidth3 / 3.0f)))
                return 0;
            if (choice.t2Iso)
                MarkTool2Coverage();
            CalcClearT3(kTool3Reach, true);
        }
        if (choice.t2Clear) {
            g_PlungeOffsetPulses = PlungeOf(m_ToolValue2);
            m_IsolationDone = 0;
            if (!choice.t2Iso && !CalcPathT2(0))
                return 0;
            if (choice.t3Clear) {
                if (choice.t2Iso && !CalcPathT2(static_cast<int>(m_ToolWidth2 * 0.9f)))
                    return 0;
                MarkTool3Coverage();
            }
            CalcClearT2();
        }
        if (choice.t1Iso) {
            g_PlungeOffsetPulses = PlungeOf(m_ToolValue1);
            if (!CalcIsolationT1(0))
                return 0;
            PumpMessages();
            ClearGridPathSegments();
        }
        if (choice.t1Clear) {
            g_PlungeOffsetPulses = PlungeOf(m_ToolValue1);
            if (choice.t2Iso || choice.t2Clear)
                MarkTool2Coverage();
            if (choice.t3Clear)
                MarkTool3Coverage();
            CalcClearT1();
        }
        return 1;
    };
    if (g_HasComponentSide) {
        OnComponentSide();
        if (!sideSequence())
            return 0;
    }
    ClearToolPaths();
    if (g_HasSolderSide) {
        OnSolderSide();
        if (!sideSequence())
            return 0;
    }
    // The finest tool's clearing is cut before its isolation lines.
    for (int side : {0, 1}) {
        const std::size_t iso = FindLayer(layers, "T1ISO", side);
        const std::size_t mil = FindLayer(layers, "T1MIL", side);
        if (iso < layers.size() && mil < layers.size())
            std::swap(layers[iso], layers[mil]);
    }
    return 1;
}
