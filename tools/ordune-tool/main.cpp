// ordune-tool COMMAND ...: the program's core without a window, on a
// settings store and system directory of its own that vanish at exit.
//   dump FILE.prj    prints the project's document as JSON
#include "document/program_objects.h"
#include "document/velm_doc.h"
#include "document_json.h"
#include "settings/program_options.h"
#include "settings/system_settings_dlg.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include <unistd.h>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: ordune-tool dump FILE.prj\n");
    return 2;
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
    const std::string file = argc > 2 ? std::filesystem::absolute(argv[2], error).string() : "";

    // Before anything reads a setting: a private store and system directory,
    // so the tool never touches the user's own.
    char pattern[] = "/tmp/ordune-tool-XXXXXX";
    const char* root = ::mkdtemp(pattern);
    if (!root) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string dir = root;
    ::setenv("ORDUNE_SETTINGS_FILE", (dir + "/settings.reg").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (dir + "/data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
    ResetProgramObjects();
    EnterSystemDir();

    int result = 2;
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "dump" && argc == 3)
        result = Dump(file);
    else
        result = Usage();

    std::filesystem::remove_all(dir, error);
    return result;
}
