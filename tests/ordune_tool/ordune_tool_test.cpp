// ordune-tool: the JSON dump of a project, in process and from the tool run
// on its own settings, and a refused file.
#include "document/velm_doc.h"
#include "document_json.h"
#include "platform/paths.h"
#include "settings/work_order_dlg.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

// Runs the tool; its standard output (with its messages when `messages`)
// and exit status. `environment` is put before the command.
std::string RunTool(const std::string& args, int& status, bool messages = false,
                    const std::string& environment = "")
{
    std::string command = environment + " " + ORDUNE_BIN_DIR + "/ordune-tool " + args +
                          (messages ? " 2>&1" : " 2>/dev/null");
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        status = -1;
        return output;
    }
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        output.append(buffer.data(), n);
    status = ::pclose(pipe);
    return output;
}

class OrduneTool : public testing::Test {
protected:
    void SaveSmallJob(const std::string& path)
    {
        auto doc = std::make_unique<CVelmDoc>();
        g_ComponentGerberFile = "f \"cu\".gbr";
        g_CurrentSide = 0;
        auto track = std::make_unique<CTrackRecord>();
        track->x2 = 0.1f;
        track->width = 8.0f;
        doc->m_TrackList.push_back(std::move(track));
        auto flash = std::make_unique<CFlashRecord>();
        flash->x = 1.0f / 3.0f;
        doc->m_FlashList.push_back(std::move(flash));
        auto tool = std::make_unique<CDrillTool>();
        tool->toolNumber = 2;
        tool->holes.push_back(std::make_unique<CDPoint>(0.1, 2.5));
        g_HoleList.push_back(std::move(tool));
        auto route = std::make_unique<CNamedLayer>();
        route->name = "route";
        doc->m_NamedLayerList.push_back(std::move(route));
        ASSERT_EQ(doc->SaveProject(path), 1);
    }
};

TEST_F(OrduneTool, DumpPrintsTheLoadedProject)
{
    const std::string path = JoinPath(TestDir(), "small.prj");
    SaveSmallJob(path);

    auto doc = std::make_unique<CVelmDoc>();
    ASSERT_EQ(doc->LoadProject(path), 1);
    std::ostringstream json;
    WriteDocumentJson(*doc, json);
    const std::string text = json.str();
    for (const char* part :
         {"\"componentGerber\":\"f \\\"cu\\\".gbr\"", "\"component\":{\"tracks\":[{", "\"x2\":0.100000001",
          "\"x\":0.333333343", "\"solder\":null", "\"holes\":[{\"tool\":2",
          "\"points\":[[0.10000000000000001,2.5]]", "\"namedLayers\":[{\"name\":\"route\""})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    // The working side is back after the dump.
    EXPECT_EQ(doc->m_TrackList.size(), 1u);

    int status = 0;
    EXPECT_EQ(RunTool("dump " + path, status), text);
    EXPECT_EQ(status, 0);
}

// File names are bytes: JSON must stay valid UTF-8 whatever they hold.
TEST_F(OrduneTool, NamesThatAreNotUtf8AreEscaped)
{
    struct Case {
        const char* name;
        const char* json;
    } cases[] = {
        {"/j/\xe6\x9d\xbf.drl", "\"/j/\xe6\x9d\xbf.drl\""},             // well-formed: kept
        {"/j/caf\xe9.drl", "\"/j/caf\\u00e9.drl\""},                    // Latin-1 byte
        {"\xc0\xaf\xed\xa0\x80", "\"\\u00c0\\u00af\\u00ed\\u00a0\\u0080\""},  // overlong, surrogate
        {"\xe6\x9d", "\"\\u00e6\\u009d\""},                          // cut short
        {"tab\there", "\"tab\\u0009here\""},
    };
    auto doc = std::make_unique<CVelmDoc>();
    for (const Case& c : cases) {
        g_DrillFile = c.name;
        std::ostringstream json;
        WriteDocumentJson(*doc, json);
        EXPECT_NE(json.str().find(std::string("\"drill\":") + c.json), std::string::npos)
            << c.json << "\n" << json.str().substr(0, 400);
    }
}

TEST_F(OrduneTool, BadArgumentsAndFilesFail)
{
    int status = 0;
    RunTool("dump " + JoinPath(TestDir(), "missing.prj"), status);
    EXPECT_NE(status, 0);
    RunTool("frobnicate", status);
    EXPECT_NE(status, 0);
}

TEST_F(OrduneTool, AFailedLoadWritesNoProjectAndUndefinedCodesAreTold)
{
    const std::string project = JoinPath(TestDir(), "job.prj");
    const std::string missing = JoinPath(TestDir(), "missing.drl");
    int status = 0;
    std::string output =
        RunTool("load --drill " + missing + " --project " + project, status, true);
    EXPECT_NE(status, 0);
    EXPECT_FALSE(std::filesystem::exists(project));
    EXPECT_NE(output.find(missing), std::string::npos) << output;

    // D11 is used but not defined: the tool says which width it drew it with.
    const std::string gerber = JoinPath(TestDir(), "undefined.gbr");
    std::ofstream(gerber) << "%FSLAX23Y23*%\n%MOIN*%\n%ADD10C,0.010*%\nD10*\nX0Y0D02*\n"
                             "X1000Y0D01*\nD11*\nX1000Y1000D01*\nM02*\n";
    output = RunTool("load --component " + gerber + " --project " + project, status, true);
    EXPECT_EQ(status, 0) << output;
    EXPECT_TRUE(std::filesystem::exists(project));
    EXPECT_NE(output.find("D code D11 is not defined; width 0 used"), std::string::npos) << output;
}

// Started as a user would start it, with a home of its own and no settings
// file named: it speaks the language of a first start of the program and
// leaves the user's settings alone, even for what its objects read when they
// are made.
TEST_F(OrduneTool, LeavesTheUsersSettingsAloneAndSpeaksEnglish)
{
    const std::string home = JoinPath(TestDir(), "home");
    std::filesystem::create_directories(home);
    int status = 0;
    std::string output =
        RunTool("dump " + JoinPath(TestDir(), "missing.prj"), status, true,
                "env -u ORDUNE_SETTINGS_FILE -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME=" + home);
    EXPECT_NE(status, 0);
    EXPECT_NE(output.find("Can't open project file"), std::string::npos) << output;
    EXPECT_TRUE(std::filesystem::is_empty(home));
}

}  // namespace
