// The file readers the fuzz driver feeds, each through the program's own
// entry points: how it is set up once, how one input is read, what seeds it
// and which tokens its mutations insert.
#pragma once

#include <string>
#include <vector>

struct CFuzzReader {
    const char* name;
    // Corpus files (of ../shared/corpus or --corpus) that seed it, by suffix.
    std::vector<std::string> seedSuffixes;
    // Folders of the source tree whose every file seeds it.
    std::vector<std::string> seedFolders;
    std::vector<std::string> dictionary;
    // Once, in the driver before its first input: the document and what it
    // needs loaded (the settings file, an aperture table).
    void (*prepare)();
    // One input, in a child process of the prepared driver.
    void (*read)(const std::string& path);
    // Seeds it makes itself under `folder` (a saved project); may be null.
    std::vector<std::string> (*makeSeeds)(const std::string& folder);
};

const std::vector<CFuzzReader>& FuzzReaders();
const CFuzzReader* FindFuzzReader(const std::string& name);
// Lets the document go while the program-wide objects it writes to on its
// way out still exist: before main returns.
void ReleaseFuzzDocument();
// The source tree, where the seeds and the corpus are looked for.
std::string SourceDir();
