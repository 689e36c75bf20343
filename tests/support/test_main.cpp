// The main of every test executable. Each test starts with a fresh scripted
// host, its own empty settings file and system directory under a private
// temporary folder, and every program-wide object at its construction value.
#include "platform/program_objects.h"
#include "support/scripted_host.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace {

std::unique_ptr<CScriptedHost> g_Host;
std::string g_Root;
int g_TestNumber = 0;

class FreshStateListener : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override
    {
        std::string dir = g_Root + "/test" + std::to_string(++g_TestNumber);
        std::filesystem::create_directories(dir + "/data");
        ::setenv("ORDUNE_SETTINGS_FILE", (dir + "/settings.reg").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (dir + "/data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
        ::chdir(dir.c_str());
        SetTestDir(dir);
        g_Host = std::make_unique<CScriptedHost>();
        SetHost(g_Host.get());
        ResetProgramObjects();
    }
    void OnTestEnd(const testing::TestInfo&) override
    {
        SetHost(nullptr);
        g_Host.reset();
    }
};

}  // namespace

CScriptedHost& TestHost() { return *g_Host; }

int main(int argc, char** argv)
{
    // Tests never need a display, however they are started.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    testing::InitGoogleTest(&argc, argv);
    char pattern[] = "/tmp/ordune-test-XXXXXX";
    const char* root = ::mkdtemp(pattern);
    if (!root) {
        std::perror("mkdtemp");
        return 2;
    }
    g_Root = root;
    testing::UnitTest::GetInstance()->listeners().Append(new FreshStateListener);
    int result = RUN_ALL_TESTS();
    std::error_code ec;
    std::filesystem::remove_all(g_Root, ec);
    return result;
}
