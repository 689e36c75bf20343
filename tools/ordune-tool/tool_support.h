// What the headless tools share: a settings store and system directory of
// their own, and the look-up of an aperture dialect in the settings text.
#pragma once

#include <string>

// A private settings store and system directory under `base`, removed when
// the object goes, so a tool never touches the user's own. A tool defines one
// with init_priority(101), before every other static object: some
// program-wide objects read settings when they are constructed.
struct CPrivateStore {
    explicit CPrivateStore(const char* tool, const char* base = "/tmp");
    ~CPrivateStore();
    CPrivateStore(const CPrivateStore&) = delete;
    CPrivateStore& operator=(const CPrivateStore&) = delete;

    // Empty when the folder could not be made.
    std::string m_Dir;
};

// The FILETYPE block of a CAD dialect in the settings text; -1 when none
// is named so.
int DialectBlock(const std::string& dialect);
// The count of FILETYPE blocks in the settings text.
int DialectCount();
