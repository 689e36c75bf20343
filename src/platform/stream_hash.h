// A 64-bit hash of a byte stream that arrives in pieces, to tell whether a
// file this program wrote still holds what it would write now. It is kept in
// memory only, never stored.
#pragma once

#include <cstddef>
#include <cstdint>

// The value is the same however the stream is cut: the pieces are read in
// place, eight-byte words in four lanes (the mixing of the well-known
// xxh64), and only a stripe split between two pieces is carried over.
class CStreamHash {
public:
    CStreamHash();
    void Add(const void* data, std::size_t size);
    std::uint64_t Size() const { return m_Size; }
    std::uint64_t Value() const;

private:
    static constexpr std::size_t kStripe = 32;
    void Stripes(const unsigned char* p, std::size_t count);

    std::uint64_t m_Lanes[4];
    unsigned char m_Carry[kStripe] = {};
    std::size_t m_Carried = 0;
    std::uint64_t m_Size = 0;
};
