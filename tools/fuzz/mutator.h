// The input mutations of the fuzz driver: bit flips, byte changes, block
// deletions, insertions and copies, tokens of the reader's language, numbers
// pushed to their limits, splices with another input and truncation, several
// stacked per input. A fixed seed gives the same inputs on every run.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

class CMutator {
public:
    CMutator(std::uint64_t seed, std::vector<std::string> dictionary)
        : m_Random(seed), m_Dictionary(std::move(dictionary))
    {
    }

    // A changed copy of `input`, at most `maxLength` bytes; `other` is an
    // input to splice with (may be empty).
    std::string Mutate(const std::string& input, const std::string& other, std::size_t maxLength);
    // A number below `bound` (> 0).
    std::size_t Below(std::size_t bound);

private:
    void MutateOnce(std::string& data, const std::string& other);
    void ChangeNumber(std::string& data);
    void OverwriteWord(std::string& data);

    std::mt19937_64 m_Random;
    std::vector<std::string> m_Dictionary;
};
