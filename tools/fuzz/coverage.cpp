#include "coverage.h"

#include <cstdint>
#include <cstring>

#include <sys/mman.h>

namespace {

// Null except in a child: the driver's own branches count nowhere.
unsigned char* g_ChildMap = nullptr;
std::uintptr_t g_PreviousTarget = 0;

// Hit counts in the classes of a few, some, many: a loop that runs more
// often than before is new behaviour too.
unsigned char CountClass(unsigned char count)
{
    if (count <= 3)
        return static_cast<unsigned char>(1u << (count - 1));
    if (count < 8)
        return 8;
    if (count < 16)
        return 16;
    if (count < 32)
        return 32;
    return count < 128 ? 64 : 128;
}

}  // namespace

extern "C" __attribute__((no_sanitize_coverage, no_sanitize("address", "undefined"))) void
__sanitizer_cov_trace_pc()
{
    if (!g_ChildMap)
        return;
    auto target = reinterpret_cast<std::uintptr_t>(__builtin_return_address(0));
    target = (target ^ (target >> 16)) & (kCoverageMapSize - 1);
    unsigned char& count = g_ChildMap[target ^ g_PreviousTarget];
    if (count != 255)
        ++count;
    g_PreviousTarget = target >> 1;
}

// The sanitizer builds stop at the first error, and leave leaks alone: the
// children end with _exit and the driver keeps its document to the end.
extern "C" const char* __asan_default_options()
{
    return "detect_leaks=0:abort_on_error=1:allocator_may_return_null=0:"
           "max_allocation_size_mb=2048:symbolize=1";
}

extern "C" const char* __ubsan_default_options()
{
    return "print_stacktrace=1:halt_on_error=1:abort_on_error=1";
}

bool CCoverage::Create()
{
    void* map = ::mmap(nullptr, kCoverageMapSize, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS,
                       -1, 0);
    if (map == MAP_FAILED)
        return false;
    m_Map = static_cast<unsigned char*>(map);
    return true;
}

void CCoverage::Clear()
{
    if (m_Map)
        std::memset(m_Map, 0, kCoverageMapSize);
}

void CCoverage::AttachChild()
{
    g_ChildMap = m_Map;
}

bool CCoverage::Merge()
{
    if (!m_Map)
        return false;
    bool found = false;
    const auto* words = reinterpret_cast<const std::uint64_t*>(m_Map);
    for (std::size_t w = 0; w < kCoverageMapSize / 8; ++w) {
        if (!words[w])
            continue;
        for (std::size_t i = w * 8; i < w * 8 + 8; ++i) {
            if (!m_Map[i])
                continue;
            unsigned char bit = CountClass(m_Map[i]);
            if (m_Seen[i] & bit)
                continue;
            if (!m_Seen[i])
                ++m_Edges;
            m_Seen[i] |= bit;
            found = true;
        }
    }
    return found;
}
