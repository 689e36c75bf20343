// ordune-tool COMMAND ...: the program's core without a window, on a
// settings store and system directory of its own that vanish at exit.
//   load [--component F] [--solder F] [--component-apertures F]
//        [--solder-apertures F] [--dialect NAME] [--drill F] [--route F]
//        [--drill-units mm|inch] [--file-auto 0|1] --project OUT.prj
//                    runs the File/New loader on that work order and saves
//                    the job as a project (exit 1 and no project when a
//                    file could not be read)
//   calc FILE.prj --out OUT.prj [--tools T1,T2,T3] [--engine scan|offset]
//                    computes the tool-path layers of every side of the
//                    job's work order with the path calculation's code
//                    (tool widths in mm; by default the stored settings)
//                    and saves the job as OUT.prj; --engine offset uses the
//                    offset-path calculation (the new isolation paths)
//                    instead of the scan-line one
//   dump FILE.prj    prints the project's document as JSON
#include "document/velm_doc.h"
#include "document_json.h"
#include "import/aperture_dialogs.h"
#include "platform/host.h"
#include "platform/program_objects.h"
#include "platform/program_state.h"
#include "settings/drill_format_dlg.h"
#include "settings/language.h"
#include "settings/program_options.h"
#include "settings/registry.h"
#include "settings/system_settings_dlg.h"
#include "settings/work_order_dlg.h"
#include "tool_support.h"
#include "ui/edit_wnd.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <vector>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include <unistd.h>

namespace {

CPrivateStore g_PrivateStore __attribute__((init_priority(101))){"ordune-tool"};

// The console host, except that a question nobody can answer here is told
// on standard error with the answer taken: an undefined D code is drawn with
// the width the question gives back, and width 0 makes that copper vanish.
class CToolHost : public CConsoleHost {
public:
    void DialogUnanswered(CDialog& dialog) override
    {
        if (auto* aperture = dynamic_cast<CApertureDefDlg*>(&dialog))
            std::fprintf(stderr, "ordune-tool: D code %s is not defined; width %g used\n",
                         aperture->m_Name.c_str(), static_cast<double>(aperture->m_Width));
    }
};

int Usage()
{
    std::fprintf(stderr,
                 "usage: ordune-tool dump FILE.prj\n"
                 "       ordune-tool load [--component F] [--solder F] [--component-apertures F]\n"
                 "                        [--solder-apertures F] [--dialect NAME] [--drill F]\n"
                 "                        [--route F] [--drill-units mm|inch] [--file-auto 0|1]\n"
                 "                        --project OUT.prj\n"
                 "       ordune-tool calc FILE.prj --out OUT.prj [--tools T1,T2,T3]\n"
                 "                        [--engine scan|offset]\n");
    return 2;
}

// The directory the tool was started from: file arguments are relative to
// it, while the system directory becomes the current one.
std::filesystem::path g_StartDir;

std::string Absolute(const std::string& path)
{
    if (path.empty() || std::filesystem::path(path).is_absolute())
        return path;
    return (g_StartDir / path).lexically_normal().string();
}

// The options are read in the directory the tool was started from.
int Load(const std::map<std::string, std::string>& options)
{
    auto option = [&](const char* name) {
        auto it = options.find(name);
        return it == options.end() ? std::string() : it->second;
    };
    const std::string project = option("--project");
    if (project.empty())
        return Usage();

    auto doc = std::make_unique<CVelmDoc>();
    if (!doc->LoadSettings())
        return 1;
    const std::string dialect = option("--dialect");
    if (!dialect.empty()) {
        const int block = DialectBlock(dialect);
        if (block < 0) {
            std::fprintf(stderr, "ordune-tool: no aperture dialect named %s\n", dialect.c_str());
            return 2;
        }
        g_ApertureFormat = block;
        g_CadDialect = dialect;
    }
    // The drill format is the operator's setting; a fresh store has inch.
    const std::string drillUnits = option("--drill-units");
    if (!drillUnits.empty())
        g_DrillFormatDlg.dInchMM = g_DrillFormatDlg.dInchMMSize = drillUnits == "mm" ? 1 : 0;
    const std::string fileAuto = option("--file-auto");
    if (!fileAuto.empty())
        g_FileAuto = fileAuto == "0" ? 0 : 1;
    g_ComponentGerberFile = option("--component");
    g_SolderGerberFile = option("--solder");
    g_ComponentApertureFile = option("--component-apertures");
    g_SolderApertureFile = option("--solder-apertures");
    g_DrillFile = option("--drill");
    g_RouteFile = option("--route");
    // A load that failed has said why; no project stands for it.
    if (!doc->LoadWorkOrder())
        return 1;
    return doc->SaveProject(project) ? 0 : 1;
}

// "0.2,0.5,1.5" (mm) into the three tool widths (mil); false when it is
// not three positive numbers.
bool ParseToolWidths(const std::string& text, float widths[3])
{
    const char* p = text.c_str();
    for (int i = 0; i < 3; ++i) {
        char* end = nullptr;
        const double mm = std::strtod(p, &end);
        if (end == p || !(mm > 0.0) || mm > 100.0)
            return false;
        widths[i] = static_cast<float>(mm * 100.0 / 2.54);
        p = end;
        if (i < 2 && *p++ != ',')
            return false;
    }
    return *p == '\0';
}

int Calc(const std::string& path, const std::map<std::string, std::string>& options)
{
    auto out = options.find("--out");
    if (out == options.end())
        return Usage();
    auto doc = std::make_unique<CVelmDoc>();
    if (!doc->LoadProject(path))
        return 1;
    // As File/Open does: the working side's copper comes from its side file.
    // Without it the first side switch would park empty lists over it.
    if ((g_CurrentSide == 0 || g_CurrentSide == 1) &&
        !doc->LoadTempFile(g_CurrentSide == 0 ? "top.tmp" : "bot.tmp"))
        return 1;
    // The path calculation's defaults: the stored tool settings, once a
    // calculation has stored them.
    doc->ReadStoredTools();
    auto tools = options.find("--tools");
    if (tools != options.end()) {
        float widths[3];
        if (!ParseToolWidths(tools->second, widths)) {
            std::fprintf(stderr, "ordune-tool: --tools wants three widths in mm, as 0.2,0.5,1.5\n");
            return 2;
        }
        doc->m_ToolWidth1 = widths[0];
        doc->m_ToolWidth2 = widths[1];
        doc->m_ToolWidth3 = widths[2];
    }
    auto engine = options.find("--engine");
    const bool offset = engine != options.end() && engine->second == "offset";
    if (engine != options.end() && !offset && engine->second != "scan") {
        std::fprintf(stderr, "ordune-tool: --engine is scan or offset\n");
        return 2;
    }
    if (offset) {
        doc->m_KeepDuplicates = 1;
        if (!doc->CalculateOffsetPathLayers())
            return 1;
        return doc->SaveProject(out->second) ? 0 : 1;
    }
    doc->m_T1Step = 2;
    if (!doc->ToolWidthsInOrder()) {
        std::fprintf(stderr, "ordune-tool: Error: T3 > T2 > t1\n");
        return 1;
    }
    if (!doc->CalculatePathLayers(CVelmDoc::CPathLayerChoice{}))
        return 1;
    return doc->SaveProject(out->second) ? 0 : 1;
}

int Dump(const std::string& path)
{
    auto doc = std::make_unique<CVelmDoc>();
    if (!doc->LoadProject(path))
        return 1;
    WriteDocumentJson(*doc, std::cout);
    return std::cout.good() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    // File arguments are taken from where the tool was started; the system
    // directory becomes the current one below.
    std::error_code error;
    g_StartDir = std::filesystem::current_path(error);
    const std::string file = argc > 2 ? std::filesystem::absolute(argv[2], error).string() : "";

    if (g_PrivateStore.m_Dir.empty())
        return 1;
    ResetProgramObjects();
    static CToolHost host;
    SetHost(&host);
    // The texts of a first start of the program.
    std::string library;
    if (!LoadConfiguredLanguage(library))
        std::fprintf(stderr, "ordune-tool: Can't load %s; the built-in texts are used\n", library.c_str());
    EnterSystemDir();

    // One command: the private settings file is written once, at its end.
    CRegistryBatch batch;
    int result = 2;
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "dump" && argc == 3) {
        result = Dump(file);
    } else if (command == "calc" && argc >= 5 && argc % 2 == 1) {
        std::map<std::string, std::string> options;
        bool known = true;
        for (int i = 3; i + 1 < argc; i += 2) {
            const std::string name = argv[i];
            known = known && (name == "--out" || name == "--tools" || name == "--engine");
            options[name] = name == "--out" ? Absolute(argv[i + 1]) : argv[i + 1];
        }
        result = known ? Calc(file, options) : Usage();
    } else if (command == "load" && argc % 2 == 0) {
        std::map<std::string, std::string> options;
        bool known = true;
        for (int i = 2; i + 1 < argc; i += 2) {
            const std::string name = argv[i];
            static const char* const kNames[] = {
                "--component", "--solder", "--component-apertures", "--solder-apertures",
                "--dialect",   "--drill",  "--route",               "--project",
                "--file-auto", "--drill-units"};
            known = known && std::find(std::begin(kNames), std::end(kNames), name) != std::end(kNames);
            options[name] = name == "--dialect" || name == "--file-auto" || name == "--drill-units"
                                 ? argv[i + 1]
                                                                         : Absolute(argv[i + 1]);
        }
        result = known ? Load(options) : Usage();
    } else {
        result = Usage();
    }
    return result;
}
