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

// Upload settings as registry values: read before the dialog, written
// back after OK.
struct CUploadSettings {
    std::vector<std::pair<std::string, float*>> floats;
    std::vector<std::pair<std::string, std::string*>> texts;
    std::vector<std::pair<std::string, int*>> ints;

    void Load() const
    {
        CRegistryBatch batch;
        for (const auto& [name, value] : floats)
            RegGetFloat(name, *value);
        for (const auto& [name, value] : texts)
            RegGetString(name, *value);
        for (const auto& [name, value] : ints)
            RegGetInt(name, *value);
    }
    void Store() const
    {
        CRegistryBatch batch;
        for (const auto& [name, value] : floats)
            RegSetFloat(name, *value);
        for (const auto& [name, value] : texts)
            RegSetString(name, *value);
        for (const auto& [name, value] : ints)
            RegSetInt(name, *value);
    }
};

// The settings of one upload kind under its registry prefix.
bool AskConditions(const std::string& prefix, CMachiningCondDlg& dialog)
{
    const CUploadSettings settings{{{prefix + "FeedSpeed", &dialog.m_FeedSpeed},
                                    {prefix + "UpHeight", &dialog.m_LiftHeight},
                                    {prefix + "DownHeight", &dialog.m_PlungeHeight},
                                    {prefix + "RefHeight", &dialog.m_ReferenceHeight}},
                                   {{prefix + "Memo", &dialog.m_Memo}},
                                   {{prefix + "Run", &dialog.m_RunAfterUpload}}};
    settings.Load();
    if (dialog.DoModal() != IDOK)
        return false;
    settings.Store();
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

int UploadCamPaths(COwnedList<CPathRecord>& pathLayers, const COwnedList<CLayoutBlock>& blocks,
                   const CCamUploadSettings& settings)
{
    const char* feedText = settings.feedText.c_str();
    const float feed = static_cast<float>(std::atof(feedText));
    const std::size_t comma = settings.feedText.find(',');
    const int address =
        comma == std::string::npos ? settings.startAddress : std::atoi(feedText + comma + 1);
    CUplProgram program;
    if (feed > 0.0f) {
        program.Feed(feed);
        if (address > 0)
            program.Address(static_cast<float>(address));
    }
    program.Height(settings.downHeight, settings.upHeight);
    // Only the chosen drawing-data layer goes; it takes this upload's tool
    // and working height.
    std::vector<const CPathRecord*> chosen;
    for (auto& layer : pathLayers) {
        if (layer->side != 5 && layer->side != 6)
            continue;
        if (layer->name == settings.layer) {
            layer->side = 5;
            layer->size = settings.diameter * 100.0f / 2.54f;
            layer->depth = settings.downHeight;
            chosen.push_back(layer.get());
        } else {
            layer->side = 6;
        }
    }
    BuildPathBody(program, chosen, blocks);
    const bool sent = UplSendProgram(program, settings.run == 1);
    for (auto& layer : pathLayers)
        if (layer->side == 6)
            layer->side = 5;
    return sent ? 1 : 0;
}
