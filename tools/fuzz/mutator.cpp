// Havoc-style mutation: each input gets one to eight of the changes below on
// top of each other, which reaches past the first check a reader makes far
// more often than one change at a time.
#include "mutator.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

// Values that sit on the edges readers get wrong: signs, zero, the ends of
// the integer types, and what a count or length may be mistaken for.
const char* const kNumbers[] = {"0",          "-1",         "1",   "-0", "255", "256",
                                "65535",      "65536",      "2147483647",
                                "2147483648", "-2147483648", "4294967295",
                                "99999999999999999999",      "1e308", "nan", "0.0000001",
                                ".",          "-",          "+"};
const std::uint32_t kWords[] = {0u,          1u,          2u,          0x7Fu,      0x80u,
                                0xFFu,       0x100u,      0x7FFFu,     0x8000u,    0xFFFFu,
                                0x10000u,    0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0xFFFFFFFEu,
                                0x40000000u};

}  // namespace

std::size_t CMutator::Below(std::size_t bound)
{
    return bound <= 1 ? 0 : static_cast<std::size_t>(m_Random() % bound);
}

std::string CMutator::Mutate(const std::string& input, const std::string& other,
                             std::size_t maxLength)
{
    std::string data = input;
    std::size_t rounds = 1 + Below(8);
    for (std::size_t i = 0; i < rounds; ++i)
        MutateOnce(data, other);
    if (data.size() > maxLength)
        data.resize(maxLength);
    return data;
}

void CMutator::MutateOnce(std::string& data, const std::string& other)
{
    switch (Below(data.empty() ? 2 : 11)) {
    case 0:  // a token of the reader's language, or random bytes
        if (!m_Dictionary.empty() && Below(4) != 0) {
            data.insert(Below(data.size() + 1), m_Dictionary[Below(m_Dictionary.size())]);
        } else {
            std::string bytes(1 + Below(8), '\0');
            for (char& c : bytes)
                c = static_cast<char>(Below(256));
            data.insert(Below(data.size() + 1), bytes);
        }
        break;
    case 1:  // a splice: our head, the other's tail
        if (!other.empty()) {
            std::size_t head = Below(data.size() + 1);
            data = data.substr(0, head) + other.substr(Below(other.size()));
        }
        break;
    case 2:
        data[Below(data.size())] ^= static_cast<char>(1u << Below(8));
        break;
    case 3:
        data[Below(data.size())] = static_cast<char>(Below(256));
        break;
    case 4: {  // a byte that means something in text files
        static const char kSpecial[] = "\0\n\r*%,;:=-+.$ \t0123456789XYDGM";
        data[Below(data.size())] = kSpecial[Below(sizeof kSpecial - 1)];
        break;
    }
    case 5: {  // a block deleted, mostly short
        std::size_t at = Below(data.size());
        std::size_t length = 1 + Below(Below(4) == 0 ? data.size() - at : std::min<std::size_t>(16, data.size() - at));
        data.erase(at, length);
        break;
    }
    case 6: {  // a block of the input copied elsewhere in it
        std::size_t from = Below(data.size());
        std::size_t length = 1 + Below(std::min<std::size_t>(64, data.size() - from));
        std::string block = data.substr(from, length);
        data.insert(Below(data.size() + 1), block);
        break;
    }
    case 7:
        ChangeNumber(data);
        break;
    case 8:
        OverwriteWord(data);
        break;
    case 9:  // cut off, as a transfer that broke off
        data.resize(Below(data.size()));
        break;
    default:  // a token in place of what was there
        if (!m_Dictionary.empty()) {
            const std::string& token = m_Dictionary[Below(m_Dictionary.size())];
            std::size_t at = Below(data.size());
            data.replace(at, std::min(token.size(), data.size() - at), token);
        }
        break;
    }
}

void CMutator::ChangeNumber(std::string& data)
{
    // The run of digits at or after a random place becomes an edge value.
    std::size_t at = Below(data.size());
    while (at < data.size() && !std::isdigit(static_cast<unsigned char>(data[at])))
        ++at;
    if (at == data.size())
        return;
    std::size_t end = at;
    while (end < data.size() && (std::isdigit(static_cast<unsigned char>(data[end])) || data[end] == '.'))
        ++end;
    data.replace(at, end - at, kNumbers[Below(std::size(kNumbers))]);
}

void CMutator::OverwriteWord(std::string& data)
{
    // Binary files hold counts and sizes as little-endian words.
    std::uint32_t word = kWords[Below(std::size(kWords))];
    std::size_t width = std::size_t{1} << Below(3);
    if (data.size() < width)
        return;
    std::size_t at = Below(data.size() - width + 1);
    if (Below(2) == 0)
        at &= ~(width - 1);
    for (std::size_t i = 0; i < width; ++i)
        data[at + i] = static_cast<char>(word >> (8 * i));
}
