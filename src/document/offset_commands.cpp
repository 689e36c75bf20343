// The offset-path calculation's commands of the view's context menu (new
// isolation paths, optimised paths, duplicate path deletion) and the
// document's entries to the pass driver and its grid pass.
#include "document/velm_doc.h"
#include "link/link_state.h"
#include "offset/duplicate_tool_paths.h"
#include "offset/pass_driver.h"
#include "planning/path_ordering.h"
#include "planning/scan_isolation.h"
#include "planning/tool_dialogs.h"
#include "platform/host.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/machine_settings.h"
#include "settings/registry.h"
#include "settings/work_order_dlg.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

// The side of the layers that belong to no board side.
constexpr int kNoSide = 5;
// How far tool 3's clearing strokes reach (mil).
constexpr float kTool3Reach = 30.0f;
// Every side's driver runs this many passes, whatever is stored.
constexpr int kPasses = 6;

// Seconds on a clock that ticks once a second.
long long NowSeconds()
{
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace

CIsoToolSettings CVelmDoc::IsoToolSettings() const
{
    CIsoToolSettings tools;
    tools.tool1Size = m_ToolWidth1;
    tools.tool2Size = m_ToolWidth2;
    tools.tool3Size = m_ToolWidth3;
    tools.tool1Size2 = m_Tool1Size2;
    tools.tool1Depth = m_ToolValue1;
    tools.tool2Depth = m_ToolValue2;
    tools.tool3Depth = m_ToolValue3;
    tools.tool1Depth2 = m_Tool1Depth2;
    tools.tool1Check = m_Tool1Check;
    tools.isoLayer = m_IsoLayer;
    tools.keepDuplicates = m_KeepDuplicates;
    return tools;
}

int CVelmDoc::TemplateGridPass(float distance)
{
    const int done = ::TemplateGridPass(*this, distance, PlanningHooks());
    CDocumentViewHooks::Run(m_ViewHooks.updateAllViews);
    return done;
}

int CVelmDoc::IsoPassDriver(float)
{
    CIsoPassHooks hooks;
    hooks.gridPass = [this](float d) { return TemplateGridPass(d); };
    hooks.sortSegments = [this] { SortSegmentList(m_GridPathList); };
    hooks.setTitle = [this](const std::string& title) { SetTitle(title); };
    return ::IsoPassDriver(*this, IsoToolSettings(), g_CurrentSide, hooks);
}

int CVelmDoc::GenerateIsolationPaths(int)
{
    // The grid passes lay their rasters at their own pitches; the scan-line
    // commands that follow find the document's pitch as it was.
    const int pitch = m_GridStep;
    m_IsoLayer = kPasses;
    BuildSourceElements();
    const int done = IsoPassDriver(15.0f);
    m_GridStep = pitch;
    return done;
}

int CVelmDoc::CalculateOffsetPathLayers()
{
    auto& layers = m_PathLayerList;
    layers.erase(std::remove_if(layers.begin(), layers.end(),
                                [](const auto& layer) { return layer->side != kNoSide; }),
                 layers.end());
    auto side = [this] {
        if (!GenerateIsolationPaths(0))
            return 0;
        if (!CalcPathT3(static_cast<int>(m_ToolWidth3 / 2.0f)))
            return 0;
        CalcClearT3(kTool3Reach, false);
        return 1;
    };
    ClearToolPaths();
    if (g_HasComponentSide) {
        OnComponentSide();
        if (!side())
            return 0;
    }
    ClearToolPaths();
    if (g_HasSolderSide) {
        OnSolderSide();
        if (!side())
            return 0;
    }
    return 1;
}

namespace {

// The settings beyond the three tools' widths and depths, by their
// registry names.
struct CIntSetting {
    const char* name;
    int CVelmDoc::*value;
};
struct CFloatSetting {
    const char* name;
    float CVelmDoc::*value;
};
constexpr CIntSetting kIntSettings[] = {{"ISOLAYER", &CVelmDoc::m_IsoLayer},
                                        {"Tool1Check", &CVelmDoc::m_Tool1Check}};
constexpr CFloatSetting kFloatSettings[] = {{"Tool1Size2", &CVelmDoc::m_Tool1Size2},
                                            {"Tool1Depth2", &CVelmDoc::m_Tool1Depth2}};

void ReadOffsetTools(CVelmDoc& doc)
{
    if (!doc.ReadStoredTools())
        return;
    for (const CIntSetting& s : kIntSettings)
        RegGetInt(s.name, doc.*s.value);
    for (const CFloatSetting& s : kFloatSettings)
        RegGetFloat(s.name, doc.*s.value);
}

void WriteOffsetTools(const CVelmDoc& doc)
{
    doc.WriteStoredTools();
    for (const CIntSetting& s : kIntSettings)
        RegSetInt(s.name, doc.*s.value);
    for (const CFloatSetting& s : kFloatSettings)
        RegSetFloat(s.name, doc.*s.value);
}

// The tools shown in the method dialog; false when it was not left with OK.
bool AskOffsetTools(CVelmDoc& doc)
{
    const float z = g_ZPulsesPerMM;
    CPathMethodDlg dlg;
    dlg.m_EngraveWidth1 = float(MilToMm(doc.m_ToolWidth1));
    dlg.m_EngraveWidth2 = float(MilToMm(doc.m_ToolWidth2));
    dlg.m_EngraveWidth3 = float(MilToMm(doc.m_ToolWidth3));
    dlg.m_EngraveWidth4 = float(MilToMm(doc.m_Tool1Size2));
    dlg.m_EngraveDepth1 = PulsesToMm(doc.m_ToolValue1, z);
    dlg.m_EngraveDepth2 = PulsesToMm(doc.m_ToolValue2, z);
    dlg.m_EngraveDepth3 = PulsesToMm(doc.m_ToolValue3, z);
    dlg.m_EngraveDepth4 = PulsesToMm(doc.m_Tool1Depth2, z);
    dlg.m_UseEngraver4 = doc.m_Tool1Check;
    if (dlg.DoModal() != IDOK)
        return false;
    doc.m_ToolWidth1 = float(MmToMil(dlg.m_EngraveWidth1));
    doc.m_ToolWidth2 = float(MmToMil(dlg.m_EngraveWidth2));
    doc.m_ToolWidth3 = float(MmToMil(dlg.m_EngraveWidth3));
    doc.m_Tool1Size2 = float(MmToMil(dlg.m_EngraveWidth4));
    doc.m_ToolValue1 = MmToPulses(dlg.m_EngraveDepth1, z);
    doc.m_ToolValue2 = MmToPulses(dlg.m_EngraveDepth2, z);
    doc.m_ToolValue3 = MmToPulses(dlg.m_EngraveDepth3, z);
    doc.m_Tool1Depth2 = MmToPulses(dlg.m_EngraveDepth4, z);
    doc.m_Tool1Check = dlg.m_UseEngraver4;
    return true;
}

// The steps both calculation commands share once the flags are set.
void RunOffsetCalculation(CVelmDoc& doc)
{
    ReadOffsetTools(doc);
    if (!AskOffsetTools(doc))
        return;
    const long long start = NowSeconds();
    WriteOffsetTools(doc);
    // A cancel stops the whole calculation: no time, no completion message.
    if (!doc.CalculateOffsetPathLayers()) {
        CDocumentViewHooks::Run(doc.m_ViewHooks.updateAllViews);
        return;
    }
    const long long taken = NowSeconds() - start;
    char text[64];
    std::snprintf(text, sizeof text, "Take Time %d:%d:%d", int(taken / 3600 % 24),
                  int(taken / 60 % 60), int(taken % 60));
    g_StatusText = text;
    CDocumentViewHooks::Run(doc.m_ViewHooks.updateAllViews);
    AfxMessageBox(LoadResString(IDS_PATHS_DONE), MB_OK);
}

}  // namespace

void CVelmDoc::OnNewIsolationPaths()
{
    if (g_JobCode != 0)
        return;
    m_KeepDuplicates = 1;
    RunOffsetCalculation(*this);
}

void CVelmDoc::OnOptimizePaths()
{
    m_KeepDuplicates = 0;
    m_IsoLayer = kPasses;
    if (g_JobCode != 0)
        return;
    RunOffsetCalculation(*this);
}

void CVelmDoc::DeleteDuplicateToolPaths()
{
    ::DeleteDuplicateToolPaths(*this, IsoToolSettings(), g_CurrentSide,
                               [this] { SortSegmentList(m_GridPathList); });
}

void CVelmDoc::OnDeleteDuplicatePaths()
{
    // A machine job cuts these layers while it pumps messages: rebuilding
    // them under it would free the items it is working through.
    if (g_JobCode != 0) {
        MessageBeep(MB_OK);
        return;
    }
    if (g_HasComponentSide) {
        OnComponentSide();
        DeleteDuplicateToolPaths();
    }
    if (g_HasSolderSide) {
        OnSolderSide();
        DeleteDuplicateToolPaths();
    }
    CDocumentViewHooks::Run(m_ViewHooks.updateAllViews);
    AfxMessageBox(LoadResString(IDS_PATHS_DONE), MB_OK);
}
