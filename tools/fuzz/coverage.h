// Edge coverage for the fuzz driver. A build with
// -fsanitize-coverage=trace-pc (tools/fuzz/run does one) calls
// __sanitizer_cov_trace_pc at every branch target; we count the pairs of
// successive targets in a map that a child shares with the driver, and an
// input that reaches a pair (or a count of one) no input reached before is
// kept to be mutated further. A build without it has no feedback: the
// driver then only mutates its seeds.
#pragma once

#include <cstddef>
#include <vector>

constexpr std::size_t kCoverageMapSize = 1 << 16;

class CCoverage {
public:
    // Maps the shared counts; false when that failed (no feedback then).
    bool Create();
    // Before a child runs: counts cleared.
    void Clear();
    // In the child: its branches count into the shared map from now on.
    void AttachChild();
    // After a child ran: true when it reached something new, which is then
    // remembered.
    bool Merge();
    // The pairs reached so far; 0 when the build has no trace-pc calls.
    std::size_t Edges() const { return m_Edges; }

private:
    unsigned char* m_Map = nullptr;
    std::vector<unsigned char> m_Seen = std::vector<unsigned char>(kCoverageMapSize);
    std::size_t m_Edges = 0;
};
