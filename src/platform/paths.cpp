// Folder conventions (XDG) and case-insensitive file lookup.
#include "platform/paths.h"

#include <cstdlib>
#include <filesystem>
#include <strings.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

static std::string HomeDir()
{
    const char* home = std::getenv("HOME");
    return home && *home ? home : "/tmp";
}

static std::string XdgDir(const char* variable, const char* fallback)
{
    const char* value = std::getenv(variable);
    if (value && *value == '/')
        return value;
    return HomeDir() + "/" + fallback;
}

static std::string WithSlash(std::string dir)
{
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

std::string UserConfigDir()
{
    std::string dir = XdgDir("XDG_CONFIG_HOME", ".config") + "/ordune";
    MakeDirectories(dir);
    return WithSlash(dir);
}

std::string DefaultSystemDir()
{
    return WithSlash(XdgDir("XDG_DATA_HOME", ".local/share") + "/ordune");
}

std::string ExecutableDir()
{
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return "./";
    return WithSlash(exe.parent_path().string());
}

std::string JoinPath(const std::string& dir, const std::string& name)
{
    if (dir.empty())
        return name;
    if (dir.back() == '/')
        return dir + name;
    return dir + "/" + name;
}

std::string ResolvePathNoCase(const std::string& path)
{
    std::error_code ec;
    if (path.empty() || fs::exists(path, ec))
        return path;
    fs::path p(path);
    fs::path dir = p.has_parent_path() ? p.parent_path() : fs::path(".");
    std::string wanted = p.filename().string();
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (strcasecmp(name.c_str(), wanted.c_str()) == 0)
            return p.has_parent_path() ? (dir / name).string() : name;
    }
    return path;
}

bool MakeDirectories(const std::string& dir)
{
    std::error_code ec;
    fs::create_directories(dir, ec);
    return fs::is_directory(dir, ec);
}

bool SetCurrentDirectory(const std::string& dir)
{
    return !dir.empty() && ::chdir(dir.c_str()) == 0;
}

std::string WithDefaultExtension(const std::string& path, const std::string& extension)
{
    std::size_t slash = path.find_last_of('/');
    std::size_t name = slash == std::string::npos ? 0 : slash + 1;
    if (name >= path.size() || path.find('.', name) != std::string::npos)
        return path;
    return path + extension;
}
