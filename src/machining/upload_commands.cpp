// The upload commands: settings, program body, sending.
#include "machining/upload_commands.h"

#include "link/program_upload.h"
#include "machining/hole_text.h"
#include "machining/machining_cond_dlg.h"
#include "platform/host.h"
#include "records/board_records.h"
#include "resource_ids.h"
#include "settings/registry.h"
#include "settings/system_settings_dlg.h"

#include <cstdlib>

namespace {

// The settings of one upload kind under its registry prefix.
bool AskConditions(const std::string& prefix, CMachiningCondDlg& dialog)
{
    {
        CRegistryBatch batch;
        RegGetFloat(prefix + "FeedSpeed", dialog.m_FeedSpeed);
        RegGetFloat(prefix + "UpHeight", dialog.m_LiftHeight);
        RegGetFloat(prefix + "DownHeight", dialog.m_PlungeHeight);
        RegGetFloat(prefix + "RefHeight", dialog.m_ReferenceHeight);
        RegGetString(prefix + "Memo", dialog.m_Memo);
        RegGetInt(prefix + "Run", dialog.m_RunAfterUpload);
    }
    if (dialog.DoModal() != IDOK)
        return false;
    CRegistryBatch batch;
    RegSetFloat(prefix + "FeedSpeed", dialog.m_FeedSpeed);
    RegSetFloat(prefix + "UpHeight", dialog.m_LiftHeight);
    RegSetFloat(prefix + "DownHeight", dialog.m_PlungeHeight);
    RegSetFloat(prefix + "RefHeight", dialog.m_ReferenceHeight);
    RegSetString(prefix + "Memo", dialog.m_Memo);
    RegSetInt(prefix + "Run", dialog.m_RunAfterUpload);
    return true;
}

// The feed and height records every program starts with.
void StartProgram(CUplProgram& program, const CMachiningCondDlg& dialog)
{
    program.Feed(dialog.m_FeedSpeed);
    program.Height(dialog.m_PlungeHeight, dialog.m_LiftHeight);
}

int UploadPaths(const std::string& prefix, const std::vector<const CPathRecord*>& layers,
                const COwnedList<CLayoutBlock>& blocks)
{
    CMachiningCondDlg dialog;
    if (!AskConditions(prefix, dialog))
        return 0;
    CUplProgram program;
    StartProgram(program, dialog);
    BuildPathBody(program, layers, blocks);
    return UplSendProgram(program, dialog.m_RunAfterUpload == 1) ? 1 : 0;
}

// A drill tool's feed where none was kept: the feed table's entry for the
// first size that takes the tool's diameter.
float TableFeed(const std::vector<std::pair<float, float>>& table, float diameterMM)
{
    for (const auto& [size, feed] : table)
        if (size >= diameterMM)
            return feed;
    return table.empty() ? 0.0f : table.back().second;
}

}  // namespace

CCamUploadDlg::CCamUploadDlg() : CDialog(IDD_CAM_UPLOAD) {}

void CCamUploadDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_CU_LAYER, m_Layer);
    DDX_Text(pDX, IDC_CU_FEED, m_Feed);
    DDX_Text(pDX, IDC_CU_UP_HEIGHT, m_UpHeight);
    DDX_Text(pDX, IDC_CU_DOWN_HEIGHT, m_DownHeight);
    DDX_Text(pDX, IDC_CU_DIAMETER, m_Diameter);
    DDX_Text(pDX, IDC_CU_MEMO, m_Memo);
    DDX_Check(pDX, IDC_CU_RUN, m_Run);
    DDX_Check(pDX, IDC_CU_SELECT, m_Select);
}

std::vector<float>& UploadDrillFeeds()
{
    static std::vector<float> feeds(DRILL_TOOL_SIZES, 0.0f);
    return feeds;
}

int UploadDrillCoordinates(const COwnedList<CLayoutBlock>& blocks)
{
    std::vector<float>& feeds = UploadDrillFeeds();
    const auto table = ReadDrillFeedTable(g_SystemDir + "DRILL.INI");
    for (const auto& tool : g_HoleList) {
        const auto n = static_cast<std::size_t>(tool->toolNumber);
        if (n < feeds.size() && feeds[n] <= 0.0f)
            feeds[n] = TableFeed(table, tool->diameter * 0.0254f);
    }
    CMachiningCondDlg dialog;
    const std::string toolText = DrillToolText(g_HoleList, feeds);
    // The tool lines are what the operator edits the feeds in.
    RegSetString("TQ615DrillMemo", toolText);
    if (!AskConditions("TQ615Drill", dialog))
        return 0;
    for (const auto& tool : g_HoleList) {
        const auto n = static_cast<std::size_t>(tool->toolNumber);
        if (n < feeds.size() && tool->diameter > 0.0f)
            feeds[n] = UplGetToolFeed(dialog.m_Memo, tool->toolNumber);
    }
    CUplProgram program;
    StartProgram(program, dialog);
    BuildDrillBody(program, g_HoleList, blocks, feeds);
    return UplSendProgram(program, dialog.m_RunAfterUpload == 1) ? 1 : 0;
}

int UploadLocatingHoles(CHoleTextWalk& holes)
{
    CMachiningCondDlg dialog;
    if (!AskConditions("TQ615Drill", dialog))
        return 0;
    CUplProgram program;
    StartProgram(program, dialog);
    if (holes.Available()) {
        holes.Restart();
        int previous = -1;
        for (EHoleBlock block = holes.Next(); block != EHoleBlock::End; block = holes.Next()) {
            if (block == EHoleBlock::Tool && holes.ToolNumber() != previous) {
                previous = holes.ToolNumber();
                program.Tool(static_cast<float>(previous), holes.ToolSize() * 0.0254f);
            } else if (block == EHoleBlock::Position) {
                const CDPoint p = holes.Point();
                program.Point(UPL_DRILL, p.x, p.y);
            }
        }
    }
    return UplSendProgram(program, dialog.m_RunAfterUpload == 1) ? 1 : 0;
}

int UploadEngravePaths(const std::vector<const CPathRecord*>& layers,
                       const COwnedList<CLayoutBlock>& blocks)
{
    return UploadPaths("TQ615ToolPath", layers, blocks);
}

int UploadRoutePaths(const std::vector<const CPathRecord*>& layers,
                     const COwnedList<CLayoutBlock>& blocks)
{
    return UploadPaths("TQ615Route", layers, blocks);
}

int UploadCamPaths(COwnedList<CPathRecord>& pathLayers, const COwnedList<CLayoutBlock>& blocks)
{
    CCamUploadDlg dialog;
    {
        CRegistryBatch batch;
        RegGetString("TQ615DxfFeedSpeed", dialog.m_Feed);
        RegGetFloat("TQ615DxfUpHeight", dialog.m_UpHeight);
        RegGetFloat("TQ615DxfDownHeight", dialog.m_DownHeight);
        RegGetFloat("TQ615DxfDiameter", dialog.m_Diameter);
        RegGetString("TQ615DxfMemo", dialog.m_Memo);
        RegGetInt("TQ615DxfAddress", dialog.m_Address);
        RegGetInt("TQ615DxfRun", dialog.m_Run);
        RegGetInt("TQ615DxfSelect", dialog.m_Select);
    }
    if (dialog.DoModal() != IDOK)
        return 0;
    const char* feedText = dialog.m_Feed.c_str();
    const float feed = static_cast<float>(std::atof(feedText));
    const std::size_t comma = dialog.m_Feed.find(',');
    const int address = comma == std::string::npos ? 0 : std::atoi(feedText + comma + 1);
    {
        CRegistryBatch batch;
        RegSetString("TQ615DxfFeedSpeed", dialog.m_Feed);
        RegSetFloat("TQ615DxfUpHeight", dialog.m_UpHeight);
        RegSetFloat("TQ615DxfDownHeight", dialog.m_DownHeight);
        RegSetFloat("TQ615DxfDiameter", dialog.m_Diameter);
        RegSetString("TQ615DxfMemo", dialog.m_Memo);
        RegSetInt("TQ615DxfAddress", address);
        RegSetInt("TQ615DxfRun", dialog.m_Run);
        RegSetInt("TQ615DxfSelect", dialog.m_Select);
    }
    CUplProgram program;
    if (feed > 0.0f) {
        program.Feed(feed);
        if (address > 0)
            program.Address(static_cast<float>(address));
    }
    program.Height(dialog.m_DownHeight, dialog.m_UpHeight);
    // Only the chosen drawing-data layer goes; it takes this upload's tool
    // and working height.
    std::vector<const CPathRecord*> chosen;
    for (auto& layer : pathLayers) {
        if (layer->side != 5 && layer->side != 6)
            continue;
        if (layer->name == dialog.m_Layer) {
            layer->side = 5;
            layer->size = dialog.m_Diameter * 100.0f / 2.54f;
            layer->depth = dialog.m_DownHeight;
            chosen.push_back(layer.get());
        } else {
            layer->side = 6;
        }
    }
    BuildPathBody(program, chosen, blocks);
    const bool sent = UplSendProgram(program, dialog.m_Run == 1);
    for (auto& layer : pathLayers)
        if (layer->side == 6)
            layer->side = 5;
    return sent ? 1 : 0;
}
