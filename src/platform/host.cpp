// The host switch and the console host.
#include "platform/host.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace {
CConsoleHost g_ConsoleHost;
CHost* g_InstalledHost = nullptr;
}  // namespace

const char* const g_ProgramCaption = "Ordune";

CHost& Host() { return g_InstalledHost ? *g_InstalledHost : g_ConsoleHost; }

void SetHost(CHost* host) { g_InstalledHost = host; }

bool CHost::GetOpenFileName(const std::string&, const std::string&, bool,
                            std::vector<std::string>& paths)
{
    paths.clear();
    return false;
}

bool CHost::GetSaveFileName(const std::string&, const std::string&, std::string&)
{
    return false;
}

int DefaultMessageBoxAnswer(unsigned type)
{
    switch (type & MB_TYPEMASK) {
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return IDYES;
    default:
        return IDOK;
    }
}

int CConsoleHost::MessageBox(const std::string& text, const std::string& caption,
                             unsigned type)
{
    std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    return DefaultMessageBoxAnswer(type);
}

void CConsoleHost::Sleep(unsigned milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::uint32_t CConsoleHost::GetTickCount()
{
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

int AfxMessageBox(const std::string& text, unsigned type)
{
    return Host().MessageBox(text, g_ProgramCaption, type);
}

std::uint32_t GetTickCount() { return Host().GetTickCount(); }
void Sleep(unsigned milliseconds) { Host().Sleep(milliseconds); }
void Beep(unsigned frequency, unsigned durationMs) { Host().Beep(frequency, durationMs); }
void MessageBeep(unsigned type) { Host().MessageBeep(type); }
