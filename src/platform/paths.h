// Where the program keeps its files on this system, and file names matched
// without regard to case (the program's files are named in one case, the
// files users bring in another).
#pragma once

#include <string>

// The user's configuration folder for the program (created when missing).
std::string UserConfigDir();
// Default system directory of the settings, temporary and undo files, with a
// trailing slash so file names can be appended directly.
std::string DefaultSystemDir();
// Folder of the running executable, with a trailing slash.
std::string ExecutableDir();

// `dir` + `name` with a separator between them when `dir` lacks one.
std::string JoinPath(const std::string& dir, const std::string& name);
// The existing file whose name equals that of `path` without regard to case,
// in the same folder; `path` itself when it exists or nothing matches.
std::string ResolvePathNoCase(const std::string& path);
// Creates the folder and its parents; true when it exists afterwards.
bool MakeDirectories(const std::string& dir);
// Makes `dir` the process's current directory; false when it cannot.
bool SetCurrentDirectory(const std::string& dir);
// `path` with `extension` (".prj") appended when its file name has none, as
// a save dialog with a default extension completes a typed name.
std::string WithDefaultExtension(const std::string& path, const std::string& extension);
