// The current test's folder.
#include "support/test_paths.h"

namespace {
std::string g_TestDir;
}

const std::string& TestDir() { return g_TestDir; }
void SetTestDir(const std::string& dir) { g_TestDir = dir; }
