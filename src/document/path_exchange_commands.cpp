// The document's path exchange commands: File/Import "HPGL to CAM" and
// "GERBER to CAM", and File/Calculated paths export and import as DXF R14.
// Each reads the file into records of its own and gives up the open job's
// data only once the file was read whole. The logic is in src/exchange/
// (hpgl_import, gerber_cam_import, calc_dxf); the Gerber and HPGL readers
// are the job loader's.
#include "document/velm_doc.h"

#include "exchange/calc_dxf.h"
#include "exchange/dxf_import.h"
#include "exchange/dxf_layers.h"
#include "exchange/gerber_cam_import.h"
#include "exchange/hpgl_import.h"
#include "import/aperture_table.h"
#include "import/gerber_blocks.h"
#include "import/gerber_number.h"
#include "import/hpgl_reader.h"
#include "link/link_state.h"
#include "platform/binary_io.h"
#include "platform/file_messages.h"
#include "platform/host.h"
#include "platform/line_reader.h"
#include "platform/paths.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/system_settings_dlg.h"
#include "settings/work_order_dlg.h"

#include <filesystem>

namespace {

const char* const kCalcDxfFilter = "AutoCAD R14 Dxf|*.dxf|All File|*.*|";
const char* const kDxfTemplateName = "template.dx_";

// The file the operator picks to read; empty when cancelled.
std::string ChooseFileToRead(const char* filter, const std::string& initial)
{
    std::vector<std::string> chosen;
    if (!Host().GetOpenFileName(filter, initial, false, chosen) || chosen.empty())
        return {};
    return chosen.front();
}

// Commands that replace path layers wait until no machine job or path
// calculation walks them (either may let this command in while it pumps).
bool PathLayersFree() { return g_JobCode == 0 && g_Calculating == 0; }

// The drawing imports start as File/New does: in the system directory, the
// settings read afresh (whose reader tells when it cannot).
bool PrepareDrawingImport(CVelmDoc& doc)
{
    if (!PathLayersFree())
        return false;
    SetCurrentDirectory(g_SystemDir);
    return doc.LoadSettings() != 0;
}

// A plot file opened for reading, or false after telling why it cannot be.
bool OpenPlotFile(CGerberSource& in, const std::string& path)
{
    if (!CheckReadableFile(path, IDS_FILE_OPEN_ERROR))
        return false;
    if (in.Open(path))
        return true;
    AfxMessageBox(LoadResString(IDS_FILE_OPEN_ERROR), MB_OK | MB_ICONEXCLAMATION);
    return false;
}

// A drawing that was read but holds nothing to machine leaves the job.
int ReportNothingImported(const std::string& path)
{
    AfxMessageBox(WithName(IDS_DXF_NOTHING_IMPORTED, path), MB_OK | MB_ICONEXCLAMATION);
    return 0;
}

// The project's name with ".dxf" for the DXF file choosers.
std::string ProjectDxfName()
{
    if (g_ProjectFileName.empty())
        return "*.dxf";
    return std::filesystem::path(g_ProjectFileName).replace_extension(".dxf").string();
}

}  // namespace

void CVelmDoc::OnFileImportHpglToCam()
{
    if (!PrepareDrawingImport(*this))
        return;
    const std::string path = ChooseFileToRead("AutoCAD HPGL File|*.plt|All File|*.*|", "*.plt");
    if (!path.empty())
        ImportHpglToCam(path);
}

int CVelmDoc::ImportHpglToCam(const std::string& path)
{
    CGerberSource in;
    if (!OpenPlotFile(in, path))
        return 0;
    CDxfCamImport plot;
    CHpglToCam hpgl(plot, g_HpglPenColour);
    std::string command;
    while (!in.AtEnd()) {
        ReadHpglCommand(in, command);
        hpgl.Command(command);
    }
    if (plot.items == 0)
        return ReportNothingImported(path);
    g_HpglPenColour = hpgl.ColourCounter();
    TakeCamImport(plot);
    return 1;
}

void CVelmDoc::OnFileImportGerberToCam()
{
    if (!PrepareDrawingImport(*this))
        return;
    const std::string path = ChooseFileToRead("GERBER RS-274|*.*|All File|*.*|", "*.*");
    if (!path.empty())
        ImportGerberToCam(path);
}

int CVelmDoc::ImportGerberToCam(const std::string& path)
{
    CGerberSource in;
    if (!OpenPlotFile(in, path))
        return 0;
    // Parameter blocks are taken by the block reader: the number format
    // applies at once, aperture definitions go to a table of their own.
    CBoardModel parameters;
    CApertureTable apertures(parameters);
    POINT point{0, 0};
    std::string block, dWord;
    ParseGerberBlock(block, point, dWord, 1);
    ClearGerberRefusals();

    CDxfCamImport plot;
    CGerberToCam gerber(plot);
    while (!in.AtEnd()) {
        ::ReadGerberBlock(in, block, apertures);
        // Comments (G04) parse as nothing, whatever letters they hold.
        const int kind = ParseGerberBlock(block, point, dWord, 0);
        in.NoteRefusals();
        if (kind)
            gerber.Block(kind, point.x, point.y, dWord);
    }
    const std::string problem = in.ProblemMessage(false);
    if (!problem.empty()) {
        AfxMessageBox(problem, MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    if (plot.items == 0)
        return ReportNothingImported(path);
    TakeCamImport(plot);
    return 1;
}

void CVelmDoc::OnFileExportCalcDxf()
{
    std::string path;
    if (!Host().GetSaveFileName(kCalcDxfFilter, ProjectDxfName(), path))
        return;
    // The chooser asked about the name it was given; a name completed here
    // may name another file that is there already.
    const std::string completed = WithDefaultExtension(path, ".dxf");
    std::error_code ec;
    if (completed != path && std::filesystem::exists(completed, ec) &&
        AfxMessageBox(WithName(IDS_FILE_OVERWRITE, completed), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    ExportCalcDxf(completed);
}

int CVelmDoc::ExportCalcDxf(const std::string& path)
{
    CWaitCursor wait;
    const std::string templatePath = ResolvePathNoCase(JoinPath(g_SystemDir, kDxfTemplateName));
    CTextLineReader reader;
    std::error_code ec;
    if (std::filesystem::is_directory(templatePath, ec) || !reader.Open(templatePath)) {
        AfxMessageBox(WithName(IDS_DXF_TEMPLATE_MISSING, templatePath), MB_OK | MB_ICONSTOP);
        return 0;
    }
    std::vector<std::string> lines;
    for (std::string line; reader.ReadLine(line);)
        lines.push_back(line);
    std::string text;
    if (!BuildCalcPathsDxf(lines, *this, text)) {
        AfxMessageBox(WithName(IDS_DXF_TEMPLATE_NO_MARKER, templatePath), MB_OK | MB_ICONSTOP);
        return 0;
    }
    std::string error;
    if (!WriteFileAtomically(path, text.data(), text.size(), &error)) {
        g_StatusText = LoadResString(IDS_FILE_WRITE_ERROR);
        AfxMessageBox(g_StatusText + "\n" + path + (error.empty() ? "" : ": " + error),
                      MB_OK | MB_ICONSTOP);
        return 0;
    }
    return 1;
}

void CVelmDoc::OnFileImportCalcDxf()
{
    if (!PathLayersFree())
        return;
    const std::string path = ChooseFileToRead(kCalcDxfFilter, ProjectDxfName());
    if (!path.empty())
        ImportCalcDxf(path);
}

int CVelmDoc::ImportCalcDxf(const std::string& path)
{
    CWaitCursor wait;
    // The drawing's layers are made as the document would make them, with
    // its tools and layer list, but apart until the file was read whole.
    CDocumentLists read;
    read.m_ToolWidth1 = m_ToolWidth1;
    read.m_ToolWidth2 = m_ToolWidth2;
    read.m_ToolWidth3 = m_ToolWidth3;
    read.m_ToolValue1 = m_ToolValue1;
    read.m_ToolValue2 = m_ToolValue2;
    read.m_ToolValue3 = m_ToolValue3;
    int items = 0;
    if (!ReadCalcPathsDxf(path, read, items))
        return 0;
    if (items == 0)
        return ReportNothingImported(path);
    // Selections point into the layers about to go.
    m_PanelLayout.ClearSelections();
    m_PathLayerList = std::move(read.m_PathLayerList);
    // A layer read back under a name the list holds already is not offered twice.
    for (const std::string& name : SplitLayerList(read.m_LayerName))
        AddToLayerList(m_LayerName, name);
    CDocumentViewHooks::Run(m_ViewHooks.updateAllViews);
    return 1;
}
