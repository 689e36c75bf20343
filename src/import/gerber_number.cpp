// Digit conversion and data-block parsing of the Gerber readers.
#include "import/gerber_number.h"

#include "settings/gerber_format_dlg.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

// More whole digits than this, in inches or millimetres, is no board.
constexpr std::size_t kMaxWholeDigits = 5;
constexpr std::size_t kMaxDCodeDigits = 5;

constexpr long kPowersOfTen[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};
// The least whole of more digits than kMaxWholeDigits.
constexpr long kTooLargeWhole = kPowersOfTen[kMaxWholeDigits];
static_assert(GERBER_MAX_POSITION_MIL == double(kTooLargeWhole) * 1000.0);

// A coordinate's digits split into the integer and the fraction text by the
// zero suppression of the format.
struct SplitDigits {
    bool negative = false;
    std::string whole;
    std::string fraction;
};

SplitDigits Split(std::string& digits, bool padFraction)
{
    SplitDigits s;
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) {
        s.negative = digits[0] == '-';
        digits.erase(0, 1);
    }
    const std::size_t unitInt = std::size_t(std::max(0, g_GerberFormatDlg.UnitInt));
    const std::size_t unitDec = std::size_t(std::max(0, g_GerberFormatDlg.UnitDec));
    switch (g_GerberFormatDlg.ZeroSup) {
    case 0:  // leading zeros left out: digits are right-aligned
        if (digits.size() < unitDec)
            digits.insert(0, unitDec - digits.size(), '0');
        s.whole = digits.substr(0, digits.size() - unitDec);
        s.fraction = digits.substr(digits.size() - unitDec);
        break;
    case 1:  // trailing zeros left out: digits are left-aligned
        if (digits.size() < unitInt)
            digits.append(unitInt - digits.size(), '0');
        s.whole = digits.substr(0, unitInt);
        s.fraction = digits.substr(unitInt);
        if (s.fraction.size() < unitDec)
            s.fraction.append(unitDec - s.fraction.size(), '0');
        break;
    default:  // no suppression
        if (digits.size() < unitDec)
            digits.insert(0, unitDec - digits.size(), '0');
        s.whole = digits.substr(0, std::min(unitInt, digits.size()));
        s.fraction = digits.substr(s.whole.size());
        if (padFraction && s.fraction.size() < unitDec)
            s.fraction.append(unitDec - s.fraction.size(), '0');
        break;
    }
    if (s.fraction.size() > unitDec)
        s.fraction.resize(unitDec);
    return s;
}

// The whole part has few enough digits for a board, and the fraction, cut to
// the format's decimals, is whole digits (atol of more would overflow).
bool NumberFits(const SplitDigits& s)
{
    std::size_t first = s.whole.find_first_not_of('0');
    if (first != std::string::npos && s.whole.size() - first > kMaxWholeDigits)
        return false;
    return s.fraction.size() <= 18;
}

// The number four bytes spell, or -1 unless all are digits: the bytes are
// read and checked side by side in one word.
long FourDigits(const char* text)
{
    std::uint32_t bytes;
    std::memcpy(&bytes, text, 4);
    if constexpr (std::endian::native == std::endian::big)
        bytes = __builtin_bswap32(bytes);
    // Each byte 0x30 to 0x39: its high half 3, and still 3 with 6 added.
    if ((bytes & 0xf0f0f0f0u) != 0x30303030u || ((bytes + 0x06060606u) & 0xf0f0f0f0u) != 0x30303030u)
        return -1;
    std::uint32_t value = bytes - 0x30303030u;              // the first digit in the lowest byte
    value = (value * 10 + (value >> 8)) & 0x00ff00ffu;      // two pairs of digits
    value = (value * 100 + (value >> 16)) & 0x0000ffffu;   // the four
    return long(value);
}

// A word of plain digits (a sign allowed) split as Split splits it, but
// into the two numbers the digits spell rather than into texts, in one pass
// over the digits: every coordinate of a file takes this way. False, with
// nothing done, for any other word or format, which take the texts' way.
// `fits` is NumberFits.
[[gnu::always_inline]] inline bool SplitPlainDigits(std::string_view field, bool padFraction, bool& negative,
                                                    long& whole, long& fraction, bool& fits)
{
    const int unitInt = g_GerberFormatDlg.UnitInt, unitDec = g_GerberFormatDlg.UnitDec;
    if (unitInt < 0 || unitInt > 9 || unitDec < 0 || unitDec > 9)
        return false;
    bool sign = false;
    if (!field.empty() && (field[0] == '-' || field[0] == '+')) {
        sign = field[0] == '-';
        field.remove_prefix(1);
    }
    const std::size_t size = field.size(), ui = std::size_t(unitInt), ud = std::size_t(unitDec);
    // Leading zeros left out, as most files write: the digits spell one
    // number whose last `unitDec` digits are the fraction. Up to 18 digits
    // it is summed at once and cut by one division; a whole past any board
    // is refused below as well as here.
    if (g_GerberFormatDlg.ZeroSup == 0 && size <= 18) {
        std::uint64_t value = 0;
        for (const char c : field) {
            const unsigned digit = unsigned(c - '0');
            if (digit > 9)
                return false;
            value = value * 10 + digit;
        }
        const auto scale = std::uint64_t(kPowersOfTen[ud]);
        const std::uint64_t w = value / scale;
        negative = sign;
        fits = w < std::uint64_t(kTooLargeWhole);
        whole = fits ? long(w) : 0;
        fraction = fits ? long(value % scale) : 0;
        return true;
    }
    // Split pads the digits with `zeros` in front (and with zeros behind as
    // far as the fraction reaches); its whole is [0, wholeEnd) of that, its
    // fraction [wholeEnd, fractionEnd).
    std::size_t zeros = 0, wholeEnd = 0, fractionEnd = 0;
    switch (g_GerberFormatDlg.ZeroSup) {
    case 0:
        zeros = size < ud ? ud - size : 0;
        fractionEnd = zeros + size;
        wholeEnd = fractionEnd - ud;
        break;
    case 1:
        wholeEnd = ui;
        fractionEnd = ui + ud;
        break;
    default:
        zeros = size < ud ? ud - size : 0;
        wholeEnd = std::min(ui, zeros + size);
        fractionEnd = padFraction ? wholeEnd + ud : std::min(zeros + size, wholeEnd + ud);
        break;
    }
    const std::size_t digitsEnd = zeros + size;
    auto digitsTo = [&](std::size_t padded) { return std::clamp(padded, zeros, digitsEnd) - zeros; };
    auto zerosBehind = [&](std::size_t from, std::size_t to) {
        return to > std::max(from, digitsEnd) ? to - std::max(from, digitsEnd) : 0;
    };
    // The whole stops growing once it is past any board: it is refused then,
    // and a long word must not overflow it.
    long w = 0, f = 0;
    std::size_t i = 0;
    for (const std::size_t end = digitsTo(wholeEnd); i < end; ++i) {
        const unsigned digit = unsigned(field[i] - '0');
        if (digit > 9)
            return false;
        if (w < kTooLargeWhole)
            w = w * 10 + long(digit);
    }
    const std::size_t fractionDigitsEnd = digitsTo(fractionEnd);
    for (; i + 4 <= fractionDigitsEnd; i += 4) {
        const long four = FourDigits(field.data() + i);
        if (four < 0)
            return false;
        f = f * 10000 + four;
    }
    for (; i < fractionDigitsEnd; ++i) {
        const unsigned digit = unsigned(field[i] - '0');
        if (digit > 9)
            return false;
        f = f * 10 + long(digit);
    }
    for (; i < size; ++i)
        if (unsigned(field[i] - '0') > 9)
            return false;
    negative = sign;
    w *= kPowersOfTen[zerosBehind(0, wholeEnd)];
    fits = w < kTooLargeWhole;
    whole = fits ? w : 0;
    fraction = fits ? f * kPowersOfTen[zerosBehind(wholeEnd, fractionEnd)] : 0;
    return true;
}

// 10 to the power of the format's decimals less three, as std::pow gives it,
// for every format the dialog offers.
double FractionScale()
{
    static const auto kScales = [] {
        std::array<double, 10> scales{};
        for (int decimals = 0; decimals < 10; ++decimals)
            scales[std::size_t(decimals)] = std::pow(10.0, decimals - 3);
        return scales;
    }();
    const int decimals = g_GerberFormatDlg.UnitDec;
    if (decimals >= 0 && decimals < 10)
        return kScales[std::size_t(decimals)];
    return std::pow(10.0, decimals - 3);
}

int WholeMil(bool negative, double whole, double fraction)
{
    double value = double(long(whole) * 1000) + fraction / FractionScale();
    long result = long(value);
    if (g_GerberFormatDlg.InchMM == 1)
        result = long(double(result) / 25.4);
    return int(negative ? -result : result);
}

double FloatMil(bool negative, double whole, double fraction)
{
    float value = float(whole * 1000.0 + fraction / FractionScale());
    if (g_GerberFormatDlg.InchMM == 1)
        value = float(value / 25.4);
    return negative ? -double(value) : double(value);
}

// The whole and the fraction a coordinate's digits spell: plain digits are
// summed (whole numbers of at most nine digits, in double what atof or atol
// makes of them), anything else read from Split's texts, by atol for
// `wholeNumbers`, else atof. False, with the refusal noted, for a number no
// board can hold.
// The texts' way of DigitParts, kept out of line: hardly a file takes it.
[[gnu::noinline]] bool TextParts(std::string_view digits, bool padFraction, bool wholeNumbers,
                                 bool& negative, double& whole, double& fraction)
{
    std::string text(digits);
    const SplitDigits s = Split(text, padFraction);
    if (!NumberFits(s))
        return false;
    auto read = [wholeNumbers](const std::string& t) {
        return wholeNumbers ? double(std::atol(t.c_str())) : std::atof(t.c_str());
    };
    negative = s.negative;
    whole = read(s.whole);
    fraction = read(s.fraction);
    return true;
}

// Inlined into each caller, whose constant arguments fold its tests away.
[[gnu::always_inline]] inline bool DigitParts(std::string_view digits, bool padFraction, bool wholeNumbers,
                                              bool& negative, double& whole, double& fraction)
{
    bool fits = true;
    long w = 0, f = 0;
    if (SplitPlainDigits(digits, padFraction, negative, w, f, fits)) {
        whole = double(w);
        fraction = double(f);
    } else {
        fits = TextParts(digits, padFraction, wholeNumbers, negative, whole, fraction);
    }
    if (!fits)
        g_GerberNumberRefused = true;
    return fits;
}

int DigitsToInt(std::string_view digits)
{
    bool negative = false;
    double whole = 0, fraction = 0;
    if (digits.empty() || !DigitParts(digits, false, true, negative, whole, fraction))
        return 0;
    return WholeMil(negative, whole, fraction);
}

double DigitsToNumber(std::string_view digits)
{
    bool negative = false;
    double whole = 0, fraction = 0;
    if (digits.empty() || !DigitParts(digits, true, false, negative, whole, fraction))
        return 0.0;
    return FloatMil(negative, whole, fraction);
}

// The modal state of one data-block parser.
template <class Value>
struct BlockParser {
    Value x = 0;
    Value y = 0;
    bool absolute = true;
    std::string lastDWord;
};

BlockParser<int> g_IntParser;
BlockParser<float> g_FloatParser;

int Convert(std::string_view field, int*) { return DigitsToInt(field); }
float Convert(std::string_view field, float*) { return float(DigitsToNumber(field)); }

// What a byte is to the block parser. The letters end a word. The ASCII
// letters are letters, and no other ASCII byte is, in every locale; the
// bytes from 0x80 on are letters as the program's locale has it (a
// single-byte locale may count them, a UTF-8 one and "C" do not).
enum ByteKind : unsigned char { kPlain, kStar, kDollar, kHigh, kLetter, kLetterG, kLetterD, kLetterX, kLetterY };

constexpr std::array<unsigned char, 256> kByteKinds = [] {
    std::array<unsigned char, 256> kinds{};
    for (int c = 'A'; c <= 'Z'; ++c)
        kinds[std::size_t(c)] = kinds[std::size_t(c - 'A' + 'a')] = kLetter;
    for (int c = 0x80; c < 0x100; ++c)
        kinds[std::size_t(c)] = kHigh;
    kinds['*'] = kStar;
    kinds['$'] = kDollar;
    kinds['G'] = kLetterG;
    kinds['D'] = kLetterD;
    kinds['X'] = kLetterX;
    kinds['Y'] = kLetterY;
    return kinds;
}();

// std::isalpha, with the locale asked only for the bytes it may differ on.
bool IsLetter(unsigned char c)
{
    const unsigned char kind = kByteKinds[c];
    return kind >= kLetter || (kind == kHigh && std::isalpha(c));
}

// The digits of the word `letter` in `block`: from after the letter to the
// next letter, so that the words of a block may come in any order.
std::string_view WordView(std::string_view block, std::size_t letterAt)
{
    std::size_t end = letterAt + 1;
    while (end < block.size() && !IsLetter(static_cast<unsigned char>(block[end])))
        ++end;
    return block.substr(letterAt + 1, end - letterAt - 1);
}

// Most blocks carry the D word the last one had: the copy is skipped then.
// The words are a few bytes, shorter compared here than by a call.
[[gnu::always_inline]] inline void AssignIfChanged(std::string& to, std::string_view from)
{
    if (to.size() == from.size()) {
        std::size_t i = 0;
        while (i < from.size() && to[i] == from[i])
            ++i;
        if (i == from.size())
            return;
    }
    to.assign(from);
}

// The first word of one letter in a block: where the letter stands and
// where its digits end (at the next letter or the block's end).
struct BlockWord {
    static constexpr std::size_t npos = std::string::npos;
    std::size_t at = npos;
    std::size_t end = npos;

    bool Found() const { return at != npos; }
    std::string_view Digits(std::string_view block) const { return block.substr(at + 1, end - at - 1); }
};

// A block's terminator and the words the parser reads, found in one pass.
struct BlockWords {
    static constexpr std::size_t npos = std::string::npos;
    // The first '*', else the first '$'.
    std::size_t end = npos;
    std::size_t g = npos;
    BlockWord d, x, y;

    explicit BlockWords(std::string_view block)
    {
        std::size_t dollar = npos;
        BlockWord* open = nullptr;
        for (std::size_t i = 0; i < block.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(block[i]);
            const unsigned char kind = kByteKinds[c];
            if (kind == kPlain)
                continue;
            if (kind == kStar) {
                end = i;
                break;
            }
            if (kind == kDollar) {
                dollar = std::min(dollar, i);
                continue;
            }
            if (kind == kHigh && !std::isalpha(c))
                continue;
            if (open) {
                open->end = i;
                open = nullptr;
            }
            BlockWord* word = kind == kLetterD ? &d : kind == kLetterX ? &x : kind == kLetterY ? &y : nullptr;
            if (kind == kLetterG)
                g = std::min(g, i);
            else if (word && !word->Found()) {
                word->at = i;
                open = word;
            }
        }
        if (end == npos)
            end = dollar;
    }

    // Only what lies before `size` (the block cut at its end) counts.
    void CutAt(std::size_t size)
    {
        if (g >= size)
            g = npos;
        for (BlockWord* word : {&d, &x, &y}) {
            if (word->at >= size)
                *word = BlockWord();
            else
                word->end = std::min(word->end, size);
        }
    }
};

template <class Value>
int ParseBlock(BlockParser<Value>& st, std::string& block, Value& outX, Value& outY,
               std::string& dWord, int reset, bool dWordFromDInAbsolute)
{
    if (reset) {
        st = BlockParser<Value>();
        return 0;
    }
    BlockWords words(block);
    if (words.end == std::string::npos)
        return 0;
    block.resize(words.end);
    words.CutAt(block.size());
    // Most blocks are bare coordinates, without a G word to look for.
    if (words.g != std::string::npos) {
        if (block.find("G90") != std::string::npos)
            st.absolute = true;
        if (block.find("G91") != std::string::npos)
            st.absolute = false;
        if (block.find("G54") != std::string::npos) {
            block.erase(0, std::min<std::size_t>(3, block.size()));
            words = BlockWords(block);
            words.CutAt(block.size());
        }
        if (block.find("G04") != std::string::npos || block.find("G4") != std::string::npos) {
            block.clear();
            return 0;
        }
    }
    const std::size_t d = words.d.at;
    if (d != std::string::npos) {
        const std::string_view code = words.d.Digits(block);
        // No aperture table reaches a D code of more digits than this.
        const std::size_t first = code.find_first_not_of('0');
        if (first != std::string::npos && code.size() - first > kMaxDCodeDigits)
            RefuseGerberDCode(std::string_view(block).substr(d, code.size() + 1));
        AssignIfChanged(dWord, std::string_view(block).substr(d, code.size() + 1));
        AssignIfChanged(st.lastDWord, dWord);
    } else {
        AssignIfChanged(dWord, st.lastDWord);
    }
    auto apply = [&](Value& modal, const BlockWord& word) {
        Value v = Convert(word.Digits(block), static_cast<Value*>(nullptr));
        if (st.absolute) {
            modal = v;
            return;
        }
        // Relative moves add up without end: summed wide, a position past
        // what any absolute coordinate can name is refused, not wrapped.
        const double sum = double(modal) + double(v);
        if (!(std::fabs(sum) < GERBER_MAX_POSITION_MIL)) {
            g_GerberNumberRefused = true;
            return;
        }
        modal = Value(sum);
    };
    int kind;
    if (words.x.Found() && words.y.Found()) {
        apply(st.x, words.x);
        apply(st.y, words.y);
        kind = 1;
    } else if (words.x.Found()) {
        apply(st.x, words.x);
        kind = 2;
    } else if (words.y.Found()) {
        apply(st.y, words.y);
        kind = 3;
    } else if (d != std::string::npos) {
        dWord = block;
        if (dWordFromDInAbsolute && st.absolute) {
            dWord.assign(block, d);
            st.lastDWord = dWord;
        }
        kind = 4;
    } else {
        return 0;
    }
    outX = st.x;
    outY = st.y;
    return kind;
}

}  // namespace

int GerberDigitsToInt(std::string_view digits) { return DigitsToInt(digits); }

double GerberDigitsToNumber(std::string_view digits) { return DigitsToNumber(digits); }

void RefuseGerberNumber() { g_GerberNumberRefused = true; }

void RefuseGerberDCode(std::string_view code)
{
    if (g_GerberRefusedDCode.empty())
        g_GerberRefusedDCode.assign(code);
}

void ClearGerberRefusals()
{
    g_GerberNumberRefused = false;
    g_GerberRefusedDCode.clear();
}

int ParseGerberBlock(std::string& block, POINT& point, std::string& dWord, int reset)
{
    int x = point.x, y = point.y;
    int kind = ParseBlock(g_IntParser, block, x, y, dWord, reset, false);
    if (kind) {
        point.x = x;
        point.y = y;
    }
    return kind;
}

int ParseGerberBlock2(std::string& block, CDPoint& point, std::string& dWord, int reset)
{
    float x = float(point.x), y = float(point.y);
    int kind = ParseBlock(g_FloatParser, block, x, y, dWord, reset, true);
    if (kind) {
        point.x = x;
        point.y = y;
    }
    return kind;
}

int ParseGerberIJ(const std::string& block, double& i, double& j)
{
    const std::size_t iAt = block.find('I');
    const std::size_t jAt = block.find('J');
    auto offset = [&](std::size_t at) {
        if (at == std::string::npos)
            return 0.0;
        return DigitsToNumber(WordView(block, at));
    };
    if (iAt == std::string::npos && jAt == std::string::npos)
        return 0;
    i = offset(iAt);
    j = offset(jAt);
    return iAt == std::string::npos ? 3 : jAt == std::string::npos ? 2 : 1;
}

void ResetGerberParsers()
{
    g_IntParser = BlockParser<int>();
    g_FloatParser = BlockParser<float>();
}
