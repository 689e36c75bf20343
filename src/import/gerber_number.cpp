// Digit conversion and data-block parsing of the Gerber readers.
#include "import/gerber_number.h"

#include "settings/gerber_format_dlg.h"

#include <cmath>
#include <cstdlib>

namespace {

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

double FractionScale() { return std::pow(10.0, g_GerberFormatDlg.UnitDec - 3); }

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

int Convert(std::string& field, int*) { return GerberDigitsToInt(field); }
float Convert(std::string& field, float*) { return float(GerberDigitsToNumber(field)); }

// The text of `block` from `from` on, cut at the first of each of `cuts`.
std::string FieldFrom(const std::string& block, std::size_t from, const char* cuts)
{
    std::string field = block.substr(from);
    for (const char* c = cuts; *c; ++c) {
        std::size_t at = field.find(*c);
        if (at != std::string::npos)
            field.resize(at);
    }
    return field;
}

template <class Value>
int ParseBlock(BlockParser<Value>& st, std::string& block, Value& outX, Value& outY,
               std::string& dWord, int reset, bool dWordFromDInAbsolute)
{
    if (reset) {
        st = BlockParser<Value>();
        return 0;
    }
    std::size_t end = block.find('*');
    if (end == std::string::npos)
        end = block.find('$');
    if (end == std::string::npos)
        return 0;
    block.resize(end);
    if (block.find("G90") != std::string::npos)
        st.absolute = true;
    if (block.find("G91") != std::string::npos)
        st.absolute = false;
    if (block.find("G54") != std::string::npos)
        block.erase(0, std::min<std::size_t>(3, block.size()));
    if (block.find("G04") != std::string::npos || block.find("G4") != std::string::npos) {
        block.clear();
        return 0;
    }
    const std::size_t d = block.find('D');
    if (d != std::string::npos) {
        dWord = block.substr(d);
        st.lastDWord = dWord;
    } else {
        dWord = st.lastDWord;
    }
    const std::size_t xAt = block.find('X');
    const std::size_t yAt = block.find('Y');
    auto apply = [&](Value& modal, std::string field) {
        Value v = Convert(field, static_cast<Value*>(nullptr));
        modal = st.absolute ? v : Value(modal + v);
    };
    int kind;
    if (xAt != std::string::npos && yAt != std::string::npos) {
        std::size_t xEnd = block.find('Y', xAt + 1);
        // An X after the Y runs to the next field letter instead.
        std::string xField = xEnd == std::string::npos
                                 ? FieldFrom(block, xAt + 1, "DIJ")
                                 : block.substr(xAt + 1, xEnd - xAt - 1);
        apply(st.x, xField);
        apply(st.y, FieldFrom(block, yAt + 1, "DIJ"));
        kind = 1;
    } else if (xAt != std::string::npos) {
        apply(st.x, FieldFrom(block, xAt + 1, "DIJ"));
        kind = 2;
    } else if (yAt != std::string::npos) {
        apply(st.y, FieldFrom(block, yAt + 1, "DIJ"));
        kind = 3;
    } else if (d != std::string::npos) {
        dWord = block;
        if (dWordFromDInAbsolute && st.absolute) {
            dWord = block.substr(d);
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

int GerberDigitsToInt(std::string& digits)
{
    if (digits.empty())
        return 0;
    SplitDigits s = Split(digits, false);
    long whole = std::atol(s.whole.c_str());
    double value = double(whole * 1000) + double(std::atol(s.fraction.c_str())) / FractionScale();
    long result = long(value);
    if (g_GerberFormatDlg.InchMM == 1)
        result = long(double(result) / 25.4);
    return int(s.negative ? -result : result);
}

double GerberDigitsToNumber(std::string& digits)
{
    if (digits.empty())
        return 0.0;
    SplitDigits s = Split(digits, true);
    float value = float(std::atof(s.whole.c_str()) * 1000.0 +
                        std::atof(s.fraction.c_str()) / FractionScale());
    if (g_GerberFormatDlg.InchMM == 1)
        value = float(value / 25.4);
    return s.negative ? -double(value) : double(value);
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
    if (iAt != std::string::npos && jAt != std::string::npos) {
        std::string iField = jAt > iAt ? block.substr(iAt + 1, jAt - iAt - 1)
                                       : FieldFrom(block, iAt + 1, "DJ");
        std::string jField = FieldFrom(block, jAt + 1, "D");
        i = GerberDigitsToNumber(iField);
        j = GerberDigitsToNumber(jField);
        return 1;
    }
    if (iAt != std::string::npos) {
        std::string field = FieldFrom(block, iAt + 1, "D");
        i = GerberDigitsToNumber(field);
        j = 0.0;
        return 2;
    }
    if (jAt != std::string::npos) {
        std::string field = FieldFrom(block, jAt + 1, "D");
        i = 0.0;
        j = GerberDigitsToNumber(field);
        return 3;
    }
    return 0;
}

void ResetGerberParsers()
{
    g_IntParser = BlockParser<int>();
    g_FloatParser = BlockParser<float>();
}
