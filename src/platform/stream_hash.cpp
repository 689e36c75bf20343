#include "platform/stream_hash.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr std::uint64_t kPrime1 = 0x9e3779b185ebca87ull;
constexpr std::uint64_t kPrime2 = 0xc2b2ae3d27d4eb4full;
constexpr std::uint64_t kPrime3 = 0x165667b19e3779f9ull;
constexpr std::uint64_t kPrime4 = 0x85ebca77c2b2ae63ull;
constexpr std::uint64_t kPrime5 = 0x27d4eb2f165667c5ull;

std::uint64_t Word(const unsigned char* p)
{
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

std::uint64_t Round(std::uint64_t lane, std::uint64_t word)
{
    return std::rotl(lane + word * kPrime2, 31) * kPrime1;
}

std::uint64_t Merge(std::uint64_t hash, std::uint64_t lane)
{
    return (hash ^ Round(0, lane)) * kPrime1 + kPrime4;
}

}  // namespace

CStreamHash::CStreamHash() : m_Lanes{kPrime1 + kPrime2, kPrime2, 0, 0 - kPrime1} {}

void CStreamHash::Stripes(const unsigned char* p, std::size_t count)
{
    std::uint64_t a = m_Lanes[0], b = m_Lanes[1], c = m_Lanes[2], d = m_Lanes[3];
    for (; count > 0; --count, p += kStripe) {
        a = Round(a, Word(p));
        b = Round(b, Word(p + 8));
        c = Round(c, Word(p + 16));
        d = Round(d, Word(p + 24));
    }
    m_Lanes[0] = a;
    m_Lanes[1] = b;
    m_Lanes[2] = c;
    m_Lanes[3] = d;
}

void CStreamHash::Add(const void* data, std::size_t size)
{
    if (size == 0)
        return;
    const auto* p = static_cast<const unsigned char*>(data);
    m_Size += size;
    if (m_Carried > 0) {
        const std::size_t n = std::min(size, kStripe - m_Carried);
        std::memcpy(m_Carry + m_Carried, p, n);
        m_Carried += n;
        p += n;
        size -= n;
        if (m_Carried < kStripe)
            return;
        Stripes(m_Carry, 1);
        m_Carried = 0;
    }
    Stripes(p, size / kStripe);
    m_Carried = size % kStripe;
    std::memcpy(m_Carry, p + size - m_Carried, m_Carried);
}

std::uint64_t CStreamHash::Value() const
{
    std::uint64_t h;
    if (m_Size >= kStripe) {
        h = std::rotl(m_Lanes[0], 1) + std::rotl(m_Lanes[1], 7) + std::rotl(m_Lanes[2], 12) +
            std::rotl(m_Lanes[3], 18);
        for (std::uint64_t lane : m_Lanes)
            h = Merge(h, lane);
    } else {
        h = kPrime5;
    }
    h += m_Size;
    const unsigned char* p = m_Carry;
    std::size_t left = m_Carried;
    for (; left >= 8; left -= 8, p += 8)
        h = std::rotl(h ^ Round(0, Word(p)), 27) * kPrime1 + kPrime4;
    if (left >= 4) {
        std::uint32_t w;
        std::memcpy(&w, p, sizeof w);
        h = std::rotl(h ^ (w * kPrime1), 23) * kPrime2 + kPrime3;
        p += 4;
        left -= 4;
    }
    for (; left > 0; --left, ++p)
        h = std::rotl(h ^ (*p * kPrime5), 11) * kPrime1;
    h ^= h >> 33;
    h *= kPrime2;
    h ^= h >> 29;
    h *= kPrime3;
    h ^= h >> 32;
    return h;
}
