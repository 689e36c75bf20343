// Folders a test may use.
#pragma once

#include <filesystem>
#include <string>

// The current test's own empty folder (also the current directory).
const std::string& TestDir();
void SetTestDir(const std::string& dir);

// Each test executable is compiled with its own fixture folder, so these two
// are inline: they take the paths of the executable that includes them.
#ifndef ORDUNE_TEST_DATA_DIR
#define ORDUNE_TEST_DATA_DIR "."
#endif
#ifndef ORDUNE_CORPUS_DIR
#define ORDUNE_CORPUS_DIR ""
#endif

// A fixture file next to the tests of a subsystem.
inline std::string TestDataPath(const std::string& name)
{
    return std::string(ORDUNE_TEST_DATA_DIR) + "/" + name;
}

// A file of the shared corpus of real boards; "" when the corpus is absent.
inline std::string CorpusPath(const std::string& relative)
{
    std::string path = std::string(ORDUNE_CORPUS_DIR) + "/" + relative;
    return std::filesystem::exists(path) ? path : "";
}
