// The readers and their set-up. Every reader runs on one document made after
// the settings file of a fresh system directory was read, as at a first
// start of the program.
#include "readers.h"

#include "document/velm_doc.h"
#include "document_json.h"
#include "exchange/dxf_import.h"
#include "exchange/dxf_to_gerber.h"
#include "exchange/gerber_writer.h"
#include "platform/paths.h"
#include "records/document_lists.h"
#include "settings/drill_format_dlg.h"
#include "settings/work_order_dlg.h"
#include "tool_support.h"

#include <filesystem>
#include <memory>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

namespace {

std::unique_ptr<CVelmDoc> g_Doc;

void PrepareDocument()
{
    g_Doc = std::make_unique<CVelmDoc>();
    g_Doc->LoadSettings();
}

std::string SourcePath(const std::string& relative)
{
    return JoinPath(SourceDir(), relative);
}

bool Exists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(path, error);
}

// The Gerber readers need the D codes of RS-274D files: the corpus's large
// table when it is there, else the small sample of the tests.
void PrepareGerber()
{
    PrepareDocument();
    std::string table = SourcePath("../shared/corpus/gerbv-examples/ekf/ekf.gap");
    if (!Exists(table))
        table = SourcePath("tests/import/data/apertures/workbench.gap");
    g_ApertureFormat = DialectBlock("WORKBENCH");
    g_CurrentApertureFile = table;
    g_Doc->LoadApertureFile();
}

void ReadGerber(const std::string& path)
{
    g_Doc->ScanGerberExtent(path);
    g_Doc->ReadGerberLayer(path);
    g_Doc->ReadGerberLayerFill(path);
    g_Doc->ScanRouteExtent(path);
    g_Doc->LoadRouteGerber(path);
}

void ReadDrill(const std::string& path)
{
    g_Doc->LoadDrillFile(path);
}

// A drawing through DXF to CAM and, in a model of its own, DXF to Gerber with
// both writers and the machining-layer import.
void ReadDxf(const std::string& path)
{
    g_Doc->ImportDxfToPathLayers(path);
    CDocumentLists model;
    CDxfRoles roles;
    roles.top = "TOP";
    roles.drill = "DRILL";
    roles.unit = "mm";
    if (ConvertDxfRoles(path, roles, model)) {
        RenderGerberRs274x(model, roles.top);
        RenderExcellonDrill(model, roles.drill);
    }
    std::string layers;
    std::unique_ptr<CPathRecord> machining;
    ReadDxfMachiningLayer(path, "CRAVE", CDxfPlacement(), layers, machining);
}

// Every dialect reads each input: a file of one CAD system is noise to the
// templates of the others, which is worth reading too.
void ReadApertures(const std::string& path)
{
    const int dialects = DialectCount();
    for (int block = 0; block < dialects; ++block) {
        g_ApertureFormat = block;
        g_CurrentApertureFile = path;
        g_Doc->LoadApertureFile();
    }
}

void ReadSettings(const std::string& path)
{
    g_Doc->LoadSettings(path);
}

void ReadProject(const std::string& path)
{
    if (!g_Doc->LoadProject(path))
        return;
    std::ostringstream json;
    WriteDocumentJson(*g_Doc, json);
}

// A job of File/New saved as a project, in a child so the driver's own
// document stays as prepared; false when it could not be made.
bool SaveJob(const std::string& component, const std::string& solder, const std::string& drill,
             const std::string& route, bool drillMetric, const std::string& project)
{
    pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        g_ComponentGerberFile = component;
        g_SolderGerberFile = solder;
        g_DrillFile = drill;
        g_RouteFile = route;
        g_DrillFormatDlg.dInchMM = g_DrillFormatDlg.dInchMMSize = drillMetric ? 1 : 0;
        g_Doc->LoadWorkOrder();
        ::_exit(g_Doc->SaveProject(project) ? 0 : 1);
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::vector<std::string> MakeProjects(const std::string& folder)
{
    std::vector<std::string> projects;
    const std::string seeds = SourcePath("tools/fuzz/seeds/");
    const std::string small = JoinPath(folder, "small.prj");
    if (SaveJob(seeds + "gerber/three_tracks.gbr", "", seeds + "drill/inch.drl",
                seeds + "gerber/outline.gbr", false, small))
        projects.push_back(small);
    const std::string board = SourcePath("../shared/corpus/boards/D1MiniGSR/D1MiniGSR-");
    const std::string d1mini = JoinPath(folder, "d1mini.prj");
    if (Exists(board + "F_Cu.gbr") &&
        SaveJob(board + "F_Cu.gbr", board + "B_Cu.gbr", board + "PTH.drl", board + "Edge_Cuts.gbr",
                true, d1mini))
        projects.push_back(d1mini);
    return projects;
}

}  // namespace

std::string SourceDir()
{
    return ORDUNE_SOURCE_DIR;
}

const std::vector<CFuzzReader>& FuzzReaders()
{
    static const std::vector<CFuzzReader> readers = {
        {"gerber",
         {".gbr", ".off", ".top", ".bot", ".smt", ".smb", ".sst", ".ssb", ".ast", ".asb"},
         {"tools/fuzz/seeds/gerber"},
         {"%FSLAX23Y23*%", "%FSTAX24Y24*%", "%MOIN*%", "%MOMM*%", "%ADD10C,0.010*%",
          "%ADD11R,0.060X0.030*%", "%ADD12O,0.080X0.040*%", "%ADD13P,0.100X6*%",
          "%AMOC8*5,1,8,0,0,1.08239X$1,22.5*%", "%ADD14OC8,0.05*%", "%LPC*%", "%LPD*%",
          "%SRX2Y2I1J1*%", "%IPNEG*%", "%OFA0B0*%", "G01*", "G02*", "G03*", "G04 note*", "G36*",
          "G37*", "G54D10*", "G74*", "G75*", "G70*", "G71*", "G90*", "G91*", "D01*", "D02*", "D03*",
          "M00*", "M02*", "X0Y0D01*", "X-100Y250D02*", "I50J0D01*", "*", "%", "\n"},
         PrepareGerber,
         ReadGerber,
         nullptr},
        {"drill",
         {".drl", ".drd", ".cnc", ".xln", ".exc"},
         {"tools/fuzz/seeds/drill"},
         {"M48\n", "%\n", "M95\n", "M30\n", "M72\n", "M71\n", "INCH,LZ\n", "INCH,TZ\n",
          "METRIC,TZ\n", "METRIC,LZ,000.000\n", "FMAT,2\n", "T1C0.035\n", "T01C0.80F200S55\n", "T1\n",
          "T0\n", "G05\n", "G90\n", "G91\n", "G85X", "X", "Y", "R3X0100", ";comment\n", "\r\n"},
         PrepareDocument,
         ReadDrill,
         nullptr},
        {"apertures",
         {".gap", ".apt", ".app", ".apr", ".rep"},
         {"tests/import/data/apertures"},
         {"D10", "D999", "ROUND", "SQUARE", "RECT", "RECTANGLE", "OVAL", "OBLONG", "CIRCLE",
          "THERMAL", "TARGET", "FLASH", "LINE", "MULTI", " ", "\t", ",", ";", "\n", "\r\n", "0.010",
          "10.0", "-5", "mil", "INCH", "MM", "APERTURE", "="},
         PrepareDocument,
         ReadApertures,
         nullptr},
        {"settings",
         {".ini"},
         {"resources/system"},
         {"\n", "\r\n", ";", " ", "\t", "$", "FILETYPE $", "LANGUAGE $", "MACHINE KX1300H",
          "MACHINE ", "TOOLPOS 1 2 3 4 5 6", "TOOLPOS ", "XYSTEPSCALE ", "ZSTEPSCALE ",
          "TABLE_WIDTH ", "TABLE_HEIGHT ", "TOOL_DISTANCE ", "BAUD ", "CONTROL ", "GROUP OFF",
          "T1_STEP ", "DRIVERMODE ", "TRUE", "FALSE", "0", "-1", "115200", "1e9", "MIL", "ROUND"},
         PrepareDocument,
         ReadSettings,
         nullptr},
        {"dxf",
         {".dxf"},
         {"tests/exchange/data"},
         {"  0\n", "0\n", "  8\n", " 10\n", " 20\n", " 40\n", " 42\n", " 43\n", " 70\n",
          "LINE\n", "ARC\n", "CIRCLE\n", "SOLID\n", "LWPOLYLINE\n", "POLYLINE\n", "VERTEX\n",
          "SEQEND\n", "BLOCK\n", "ENDBLK\n", "INSERT\n", "SECTION\n", "ENDSEC\n", "EOF\n",
          "TOP\n", "DRILL\n", "CRAVE\n", "TOP_1\n", "1\n", "129\n", "-1\n", "0.5\n", "1e300\n",
          "nan\n", "\r\n"},
         PrepareDocument,
         ReadDxf,
         nullptr},
        {"project", {".prj"}, {}, {"\0\0\0\0", "\xFF\xFF\xFF\xFF", "\x2E\0\0\0"}, PrepareDocument,
         ReadProject, MakeProjects},
    };
    return readers;
}

void ReleaseFuzzDocument()
{
    g_Doc.reset();
}

const CFuzzReader* FindFuzzReader(const std::string& name)
{
    for (const CFuzzReader& reader : FuzzReaders()) {
        if (name == reader.name)
            return &reader;
    }
    return nullptr;
}
