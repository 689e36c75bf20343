// Block reading of Gerber files with the RS-274X parameters applied on the
// way, and the small helpers of the layer readers.
#include "import/gerber_blocks.h"

#include "import/aperture_table.h"
#include "import/gerber_number.h"
#include "import/gerber_reader_state.h"
#include "platform/paths.h"
#include "platform/file_messages.h"
#include "resource_ids.h"
#include "settings/gerber_format_dlg.h"
#include "settings/work_order_dlg.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>

#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr double kTwoPi = 2 * 3.1415925;
constexpr float kMmToInch = 39.37f / 1000.0f;
// No board has an aperture this large or a D code above this.
constexpr double kMaxApertureInches = 100000.0;
constexpr int kMaxDCode = 99999;

bool g_MacroDivisionByZero = false;

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

// The shared block loop; `onParameter` receives the text between two '%'
// signs, or null to keep '%' as an ordinary character.
// The characters that may end a run of ordinary ones.
constexpr std::array<bool, 256> kMayEndRun = [] {
    std::array<bool, 256> table{};
    for (unsigned char c : {' ', '\t', '*', '#', '%', '4'})
        table[c] = true;
    return table;
}();

template <class OnParameter>
void ReadBlock(CGerberSource& in, std::string& block, OnParameter* onParameter)
{
    block.clear();
    for (;;) {
        // The run of ordinary characters ahead in the line goes in at once;
        // the loop below takes each character that may mean more.
        const std::string_view rest = in.LineRest();
        std::size_t run = 0;
        for (; run < rest.size(); ++run) {
            const char r = rest[run];
            // One look in a table passes over the common characters.
            if (!kMayEndRun[static_cast<unsigned char>(r)])
                continue;
            if (r == ' ' || r == '\t' || r == '*' || r == '#' || (r == '%' && onParameter))
                break;
            // A '4' after "G5" ends a block.
            if (r == '4') {
                auto before = [&](std::size_t back) {
                    return back <= run ? rest[run - back] : block.size() + run >= back ? block[block.size() + run - back] : '\0';
                };
                if (before(1) == '5' && before(2) == 'G')
                    break;
            }
        }
        if (run) {
            block.append(rest.data(), run);
            in.Pass(run);
        }
        int c = in.Get();
        if (c == EOF) {
            for (char b : block)
                if (b != '\n' && b != '\0') {
                    in.m_UnterminatedBlockLine = in.Line();
                    break;
                }
            return;
        }
        if (c == ' ' || c == '\t')
            continue;
        if (c == '%' && onParameter) {
            const long startLine = in.Line();
            std::string param;
            for (;;) {
                int p = in.Get();
                if (p == EOF) {
                    in.m_UnclosedParameterLine = startLine;
                    break;
                }
                if (p == '%')
                    break;
                if (p != '\n')
                    param.push_back(char(p));
            }
            (*onParameter)(param);
            continue;
        }
        block.push_back(char(c));
        // A block ends after "G54" (looked at only when a '4' comes).
        const std::size_t n = block.size();
        if (c == '4' && n >= 3 && block[n - 2] == '5' && block[n - 3] == 'G')
            return;
        // A '#' inside a comment is text, not the end of the block.
        if (c == '*' || c == '\n' || (c == '#' && !StartsWith(block, "G04"))) {
            if (block.find('M') != std::string::npos &&
                (Contains(block, "M02") || Contains(block, "M00") || Contains(block, "M30")))
                in.m_EndCodeSeen = true;
            return;
        }
    }
}

}  // namespace

namespace {

// A tape's events in memory taken from the kernel rather than the heap, in
// room set aside once for as many as the file can give (each takes at least
// one character): untouched room costs nothing, and all of it goes back
// when the tape goes, instead of staying with the heap, which after a large
// block is freed keeps later ones of that size for itself.
template <class T>
class CMappedArray {
public:
    CMappedArray() = default;
    ~CMappedArray()
    {
        if (m_Data)
            ::munmap(m_Data, m_Bytes);
    }
    CMappedArray(const CMappedArray&) = delete;
    CMappedArray& operator=(const CMappedArray&) = delete;

    bool Reserve(std::size_t count)
    {
        m_Bytes = std::max<std::size_t>(count, 1) * sizeof(T);
        void* room = ::mmap(nullptr, m_Bytes, PROT_READ | PROT_WRITE,
                            MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (room == MAP_FAILED)
            return false;
        m_Data = static_cast<T*>(room);
        m_Capacity = std::max<std::size_t>(count, 1);
        return true;
    }
    bool Add(const T& value)
    {
        if (m_Size == m_Capacity)
            return false;
        m_Data[m_Size++] = value;
        return true;
    }
    // Gives back the whole pages of the first `count` elements, which no
    // one reads again.
    void ReleaseBefore(std::size_t count) const
    {
        const std::size_t page = std::size_t(::sysconf(_SC_PAGESIZE));
        const std::size_t bytes = count * sizeof(T) / page * page;
        if (bytes > m_Released) {
            ::madvise(reinterpret_cast<char*>(m_Data) + m_Released, bytes - m_Released, MADV_DONTNEED);
            m_Released = bytes;
        }
    }
    std::size_t size() const { return m_Size; }
    bool empty() const { return m_Size == 0; }
    const T& operator[](std::size_t k) const { return m_Data[k]; }
    T& back() { return m_Data[m_Size - 1]; }

private:
    T* m_Data = nullptr;
    std::size_t m_Size = 0, m_Capacity = 0, m_Bytes = 0;
    mutable std::size_t m_Released = 0;
};

}  // namespace

// The blocks of one Gerber file as ReadBlock cuts them, each with what a
// reader sees of the source after it: its line, whether the file ended, and
// the marks the block reader sets. A block or parameter whose characters
// stand together in the file is kept as a place in the file's text (which
// the tape holds on to), any other in the tape's own text. Most blocks are
// followed by the line end alone, kept as a mark on the block.
class CGerberTape {
public:
    // The tape of `path`; one handed over for a last reading is taken out of
    // the kept ones, and `last` set.
    static std::shared_ptr<const CGerberTape> Find(const std::string& path, bool& last);
    // The tape of `path`; null when it cannot be read.
    static std::shared_ptr<CGerberTape> Record(const std::string& path);

    // The next block of the file `in` replays, the parameters before it
    // given to `apply` with the source as the block reader leaves it.
    template <class Apply>
    void Next(CGerberSource& in, std::string& block, Apply& apply) const;

private:
    enum : std::uint8_t {
        kParameter = 1,
        kEnded = 2,          // the source ended with this block
        kNewlineFollows = 4, // the next block is "\n", on the same line
        kOwnText = 8,
        kEndCode = 16,       // the block reader saw an end-of-program code
        kUnterminated = 32,  // the file ended inside this block
        kUnclosed = 64,      // the file ended inside this parameter
        kWide = 128,         // a far place, a long text or a large line step
    };
    struct Event {
        std::uint32_t end;   // one past the text (kWide: an index into m_Wide)
        std::uint16_t size;
        std::uint8_t lineStep;
        std::uint8_t flags;
    };
    struct WideEvent {
        std::size_t end;
        std::size_t size;
        long lineStep;
    };

    bool Add(std::string_view text, const char* endInFile, long line, std::uint8_t flags);
    std::string_view Text(const Event& e, long& lineStep) const;

    CGerberSource m_File;   // holds the text the events show
    const char* m_Base = nullptr;
    std::size_t m_FileSize = 0;
    std::string m_Own;
    CMappedArray<Event> m_Events;
    std::vector<WideEvent> m_Wide;
    long m_LastLine = 0;
    long m_UnclosedLine = 0;
    bool m_HandedOver = false;   // see HandOverKeptGerberBlocks

    friend void HandOverKeptGerberBlocks(const std::string& path);
};

namespace {

// The tapes by resolved path, while a CKeptGerberBlocks lives.
using KeptTapes = std::map<std::string, std::shared_ptr<CGerberTape>>;
KeptTapes* g_Tapes = nullptr;

}  // namespace

std::shared_ptr<const CGerberTape> CGerberTape::Find(const std::string& path, bool& last)
{
    if (!g_Tapes || g_Tapes->empty())
        return nullptr;
    auto it = g_Tapes->find(ResolvePathNoCase(path));
    if (it == g_Tapes->end())
        return nullptr;
    std::shared_ptr<const CGerberTape> tape = it->second;
    if (tape->m_HandedOver) {
        g_Tapes->erase(it);
        last = true;
    }
    return tape;
}

bool CGerberTape::Add(std::string_view text, const char* endInFile, long line, std::uint8_t flags)
{
    std::size_t end = 0;
    const bool inFile = endInFile && m_Base && endInFile >= m_Base + text.size() &&
                        endInFile <= m_Base + m_FileSize &&
                        std::string_view(endInFile - text.size(), text.size()) == text;
    if (inFile) {
        end = std::size_t(endInFile - m_Base);
    } else {
        m_Own.append(text);
        end = m_Own.size();
        flags |= kOwnText;
    }
    const long step = line - m_LastLine;
    m_LastLine = line;
    if (end <= UINT32_MAX && text.size() <= UINT16_MAX && step >= 0 && step <= UINT8_MAX) {
        return m_Events.Add({std::uint32_t(end), std::uint16_t(text.size()), std::uint8_t(step), flags});
    }
    m_Wide.push_back({end, text.size(), step});
    return m_Events.Add({std::uint32_t(m_Wide.size() - 1), 0, 0, std::uint8_t(flags | kWide)});
}

std::string_view CGerberTape::Text(const Event& e, long& lineStep) const
{
    std::size_t end = e.end, size = e.size;
    lineStep = e.lineStep;
    if (e.flags & kWide) {
        const WideEvent& w = m_Wide[e.end];
        end = w.end;
        size = w.size;
        lineStep = w.lineStep;
    }
    const char* base = (e.flags & kOwnText) ? m_Own.data() : m_Base;
    return std::string_view(base + end - size, size);
}

std::shared_ptr<CGerberTape> CGerberTape::Record(const std::string& path)
{
    auto tape = std::make_shared<CGerberTape>();
    CGerberSource& in = tape->m_File;
    // From the text: a recording never replays a tape.
    in.m_Path = path;
    if (!in.OpenLines())
        return nullptr;
    if (in.m_HaveNext) {
        tape->m_Base = in.m_Next.data();
        tape->m_FileSize = in.m_Lines.TextSize();
    }
    // A block or a parameter takes a character at least, the last block
    // perhaps none.
    if (!tape->m_Events.Reserve(tape->m_FileSize + 2))
        return nullptr;
    bool kept = true;
    // Where the character read last lies in the file's text, one past it.
    auto readEnd = [&in]() -> const char* { return in.m_HaveLine ? in.m_Line.data() + in.m_Pos : nullptr; };
    auto onParameter = [&](const std::string& param) {
        std::uint8_t flags = kParameter;
        if (in.m_UnclosedParameterLine && !tape->m_UnclosedLine) {
            tape->m_UnclosedLine = in.m_UnclosedParameterLine;
            flags |= kUnclosed;
        }
        // The closing '%' was read last.
        const char* end = readEnd();
        kept &= tape->Add(param, end && !(flags & kUnclosed) ? end - 1 : nullptr, in.Line(), flags);
    };
    std::string block;
    for (;;) {
        const bool endCode = in.m_EndCodeSeen;
        const long unterminated = in.m_UnterminatedBlockLine;
        ReadBlock(in, block, &onParameter);
        std::uint8_t flags = 0;
        if (in.AtEnd())
            flags |= kEnded;
        if (in.m_EndCodeSeen && !endCode)
            flags |= kEndCode;
        if (in.m_UnterminatedBlockLine != unterminated)
            flags |= kUnterminated;
        CMappedArray<Event>& events = tape->m_Events;
        if (flags == 0 && block.size() == 1 && block[0] == '\n' && !events.empty() &&
            (events.back().flags & ~(kOwnText | kWide)) == 0 &&
            in.Line() == tape->m_LastLine) {
            events.back().flags |= kNewlineFollows;
            continue;
        }
        kept &= tape->Add(block, readEnd(), in.Line(), flags);
        if (in.AtEnd() || !kept)
            break;
    }
    return kept ? tape : nullptr;
}

template <class Apply>
void CGerberTape::Next(CGerberSource& in, std::string& block, Apply& apply) const
{
    if (in.m_TapeNewline) {
        in.m_TapeNewline = false;
        block.assign(1, '\n');
        return;
    }
    block.clear();
    while (in.m_TapeAt < m_Events.size()) {
        // A copy: a last reading may give back the page it stands on.
        const Event e = m_Events[in.m_TapeAt++];
        long step = 0;
        const std::string_view text = Text(e, step);
        in.m_LineNo += step;
        if (e.flags & kParameter) {
            if (e.flags & kUnclosed)
                in.m_UnclosedParameterLine = m_UnclosedLine;
            apply(std::string(text));
            continue;
        }
        block.assign(text);
        // The last reading gives back what it has passed, so the tape is
        // gone by the time the read has made its records.
        if (in.m_TapeLast && in.m_TapeAt % 8192 == 0)
            m_Events.ReleaseBefore(in.m_TapeAt);
        if (e.flags & kEndCode)
            in.m_EndCodeSeen = true;
        if (e.flags & kUnterminated)
            in.m_UnterminatedBlockLine = in.m_LineNo;
        in.m_AtEnd = (e.flags & kEnded) != 0;
        in.m_TapeNewline = (e.flags & kNewlineFollows) != 0;
        return;
    }
    // Past the end a reader reads nothing more.
    in.m_AtEnd = true;
}

CKeptGerberBlocks::CKeptGerberBlocks()
{
    if (!g_Tapes) {
        g_Tapes = new KeptTapes;
        m_Outer = true;
    }
}

CKeptGerberBlocks::~CKeptGerberBlocks()
{
    if (m_Outer) {
        delete g_Tapes;
        g_Tapes = nullptr;
    }
}

void CKeptGerberBlocks::Keep(const std::string& path)
{
    if (!g_Tapes || path.empty())
        return;
    const std::string resolved = ResolvePathNoCase(path);
    if (g_Tapes->count(resolved))
        return;
    if (auto tape = CGerberTape::Record(path))
        g_Tapes->emplace(resolved, std::move(tape));
}

void HandOverKeptGerberBlocks(const std::string& path)
{
    if (!g_Tapes)
        return;
    auto it = g_Tapes->find(ResolvePathNoCase(path));
    if (it != g_Tapes->end())
        it->second->m_HandedOver = true;
}

bool CGerberSource::Open(const std::string& path)
{
    m_Path = path;
    // The line at hand showed the text of a file opened before.
    m_Line = {};
    m_HaveLine = false;
    m_Pos = 0;
    m_TapeLast = false;
    m_Tape = CGerberTape::Find(path, m_TapeLast);
    m_TapeAt = 0;
    m_TapeNewline = false;
    m_LinesPending = m_Tape != nullptr;
    return m_LinesPending || OpenLines();
}

bool CGerberSource::OpenLines()
{
    if (!m_Lines.Open(m_Path))
        return false;
    m_HaveNext = m_Lines.ReadLine(m_Next);
    return true;
}

int CGerberSource::GetAtLineEnd()
{
    if (m_LinesPending) {
        // Read by the character after all: from the text, from its start.
        m_LinesPending = false;
        m_Tape.reset();
        if (!OpenLines()) {
            m_AtEnd = true;
            return EOF;
        }
    }
    if (m_AtEnd)
        return EOF;
    if (m_HaveLine) {
        m_HaveLine = false;
        if (m_HaveNext || m_Lines.LastLineEnded())
            return '\n';
    }
    if (!m_HaveNext) {
        m_AtEnd = true;
        return EOF;
    }
    m_Line = m_Next;
    ++m_LineNo;
    m_HaveNext = m_Lines.ReadLine(m_Next);
    m_HaveLine = true;
    m_Pos = 0;
    return Get();
}

bool OpenGerberFile(CGerberSource& in, const std::string& path)
{
    // A folder opens like a file but holds no line: say what it is.
    if (!CheckReadableFile(path, IDS_CANNOT_READ_FILE))
        return false;
    if (in.Open(path))
        return true;
    ReportCannotReadFile(path);
    return false;
}

bool CGerberSource::NoteRefusals()
{
    const bool number = TakeGerberNumberRefusal();
    std::string code;
    const bool dCode = TakeGerberDCodeRefusal(code);
    if (!m_RefusedNumberLine && !m_RefusedDCodeLine) {
        if (dCode) {
            m_RefusedDCodeLine = Line();
            m_RefusedDCode = std::move(code);
        } else if (number) {
            m_RefusedNumberLine = Line();
        }
    }
    return m_RefusedNumberLine || m_RefusedDCodeLine || m_StepRepeatLine;
}

std::string CGerberSource::ProblemMessage(bool needEndCode) const
{
    if (m_RefusedNumberLine)
        return RefusedNumberMessage(m_Path, m_RefusedNumberLine);
    if (m_RefusedDCodeLine)
        return DCodeBeyondTableMessage(m_Path, m_RefusedDCodeLine, m_RefusedDCode);
    if (m_StepRepeatLine)
        return StepRepeatMessage(m_Path, m_StepRepeatLine);
    if (m_UnclosedParameterLine)
        return TruncatedFileMessage(m_Path, m_UnclosedParameterLine);
    if (m_UnterminatedBlockLine)
        return TruncatedFileMessage(m_Path, m_UnterminatedBlockLine);
    if (needEndCode && !m_EndCodeSeen)
        return TruncatedFileMessage(m_Path, Line());
    return {};
}

void ReadGerberBlockPlain(CGerberSource& in, std::string& block)
{
    ReadBlock<void (*)(const std::string&)>(in, block, nullptr);
}

namespace {

// What a parameter does as the block reader meets it: applied, and a refusal
// or a step and repeat noted at its line.
auto ParameterAction(CGerberSource& in, CApertureTable& apertures)
{
    return [&apertures, &in](const std::string& param) {
        if (!ApplyGerberParameter(param, apertures))
            RefuseGerberNumber();
        in.NoteRefusals();
        if (IsGerberStepRepeat(param) && !in.m_StepRepeatLine)
            in.m_StepRepeatLine = in.Line();
    };
}

}  // namespace

void ReadGerberBlock(CGerberSource& in, std::string& block, CApertureTable& apertures)
{
    auto apply = ParameterAction(in, apertures);
    if (in.m_Tape && in.m_LinesPending)
        in.m_Tape->Next(in, block, apply);
    else
        ReadBlock(in, block, &apply);
}

void ReadGerberHeader(CGerberSource& in, CApertureTable& apertures)
{
    std::string block;
    while (!in.AtEnd() && g_GerberFormatDlg.AutoFormat)
        ReadGerberBlock(in, block, apertures);
}

bool GerberFormatDeclaredFirst(const std::string& path)
{
    CGerberSource in;
    if (!in.Open(path))
        return false;
    bool format = false, unit = false, decided = false, declared = false;
    // Parameters and blocks in the order the block reader meets them, until
    // the answer is known.
    auto parameter = [&](const std::string& param) {
        if (decided)
            return;
        if (StartsWith(param, "FS")) {
            const std::size_t x = param.find('X');
            format = x != std::string::npos && x + 2 < param.size();
        } else if (StartsWith(param, "MOIN") || StartsWith(param, "MOMM")) {
            unit = true;
        } else if (StartsWith(param, "AD") || StartsWith(param, "AM") || StartsWith(param, "SR")) {
            decided = true;
        }
        if (!decided && format && unit)
            decided = declared = true;
    };
    std::string block;
    while (!decided && !in.AtEnd()) {
        ReadBlock(in, block, &parameter);
        // A block that may read a number.
        if (!decided && !StartsWith(block, "G04") && block.find_first_of("XYIJD") != std::string::npos)
            decided = true;
    }
    return declared;
}

bool IsGerberStepRepeat(const std::string& param)
{
    if (!StartsWith(param, "SR"))
        return false;
    auto count = [&](char axis) {
        const std::size_t at = param.find(axis);
        return at == std::string::npos ? 1L : std::atol(param.c_str() + at + 1);
    };
    return count('X') > 1 || count('Y') > 1;
}

bool ApplyGerberParameter(const std::string& param, CApertureTable& apertures)
{
    CGerberFormatDlg& fmt = g_GerberFormatDlg;
    if (StartsWith(param, "ADD")) {
        int dNumber = 0;
        std::string name;
        std::vector<float> values;
        ParseApertureParams(param, dNumber, name, values);
        if (dNumber < 0) {
            const std::size_t digits = std::min(param.find_first_not_of("0123456789", 3), param.size());
            RefuseGerberDCode("D" + param.substr(3, digits - 3));
            return true;
        }
        for (float v : values)
            if (!(std::fabs(v) <= kMaxApertureInches))
                return false;
        apertures.Define(param);
        fmt.AutoFormat = 0;
    }
    if (StartsWith(param, "MOMM")) {
        fmt.InchMM = 1;
        g_GerberMetric = 1;
        g_GerberUnitFactor *= 10.0f;
    }
    if (StartsWith(param, "AM"))
        apertures.DefineMacro(param);
    if (StartsWith(param, "MOIN")) {
        fmt.InchMM = 0;
        g_GerberMetric = 0;
    }
    // A format without its zero letter reads as leading zeros left out,
    // not as whatever the last file or the detection left.
    if (StartsWith(param, "FS")) {
        auto any = [&](std::initializer_list<const char*> parts) {
            for (const char* p : parts)
                if (Contains(param, p))
                    return true;
            return false;
        };
        g_GerberUnitFactor = 1.0f;
        if (any({"24", "54", "34", "44"}))
            g_GerberUnitFactor *= 10.0f;
        if (any({"25", "55", "35", "45"}))
            g_GerberUnitFactor *= 100.0f;
        std::size_t x = param.find('X');
        if (x != std::string::npos) {
            if (x + 1 < param.size())
                fmt.UnitInt = param[x + 1] - '0';
            if (x + 2 < param.size())
                fmt.UnitDec = param[x + 2] - '0';
        }
        if (Contains(param, "A"))
            fmt.AbsRel = 0;
        if (Contains(param, "I"))
            fmt.AbsRel = 1;
        fmt.ZeroSup = 0;
        if (Contains(param, "D"))
            fmt.ZeroSup = 2;
        if (Contains(param, "T"))
            fmt.ZeroSup = 1;
        if (Contains(param, "L"))
            fmt.ZeroSup = 0;
    }
    return true;
}

int ParseApertureParams(const std::string& text, int& dNumber, std::string& name,
                        std::vector<float>& values)
{
    values.clear();
    std::size_t pos = StartsWith(text, "ADD") ? 3 : 0;
    dNumber = 0;
    while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
        // A D number past any table is refused before it can overflow.
        if (dNumber >= 0)
            dNumber = dNumber * 10 + (text[pos] - '0');
        if (dNumber > kMaxDCode)
            dNumber = -1;
        ++pos;
    }
    const std::size_t comma = text.find(',', pos);
    const std::size_t star = text.find('*', pos);
    if (comma == std::string::npos && star == std::string::npos) {
        name.assign(1, 'C');  // not = "C": GCC 12 warns wrongly of an overlap there
        values = {0.0f, 0.0f};
        return 0;
    }
    if (comma == std::string::npos || (star != std::string::npos && star < comma)) {
        name = text.substr(pos, star - pos);
        return 0;
    }
    name = text.substr(pos, comma - pos);
    std::string rest = text.substr(comma + 1);
    rest.resize(std::min(rest.size(), rest.find('*')));
    std::size_t start = 0;
    for (;;) {
        std::size_t sep = rest.find_first_of("Xx,", start);
        std::string value = rest.substr(start, sep == std::string::npos ? sep : sep - start);
        float v = float(std::atof(value.c_str()));
        if (g_GerberFormatDlg.InchMM == 1)
            v *= kMmToInch;
        values.push_back(v);
        if (sep == std::string::npos)
            break;
        start = sep + 1;
    }
    return int(values.size());
}

std::size_t CopyGerberField(const std::string& text, std::size_t pos, std::string& field)
{
    field.clear();
    while (pos < text.size() && text[pos] != ',' && text[pos] != '*')
        field.push_back(text[pos++]);
    return pos < text.size() ? pos + 1 : pos;
}

double EvalMacroOperand(const std::string& operand, const std::vector<float>& params)
{
    // One operation at most: the left operand before the first operator, the
    // right one after the last, and the last operator met. 'x' is the
    // multiplication of the macro language ('*' ends a primitive).
    const char* operators = "@+-*/xX";
    const std::size_t first = operand.find_first_of(operators);
    auto value = [&](const std::string& text) -> double {
        if (!text.empty() && text[0] == '$') {
            const int n = std::atoi(text.c_str() + 1);
            return n >= 1 && std::size_t(n) <= params.size() ? double(params[std::size_t(n - 1)])
                                                              : 0.0;
        }
        double v = std::atof(text.c_str());
        if (g_GerberFormatDlg.InchMM == 1)
            v *= double(kMmToInch);
        return v;
    };
    double result;
    if (first == std::string::npos) {
        result = value(operand);
    } else {
        const std::size_t last = operand.find_last_of(operators);
        const double left = value(operand.substr(0, first));
        const double right = value(operand.substr(last + 1));
        switch (operand[last]) {
        case '+': result = left + right; break;
        case '-': result = left - right; break;
        case '*': case 'x': case 'X': result = left * right; break;
        case '/':
            if (right != 0.0) {
                result = left / right;
            } else {
                g_MacroDivisionByZero = true;
                result = 0.0;
            }
            break;
        default: result = left; break;  // '@' separates without an operation
        }
    }
    if (!(std::fabs(result) <= kMaxApertureInches)) {
        RefuseGerberNumber();
        return 0.0;
    }
    return result * 1000.0;
}

bool TakeMacroDivisionByZero()
{
    const bool divided = g_MacroDivisionByZero;
    g_MacroDivisionByZero = false;
    return divided;
}

bool ApplyMacroAssignment(const std::string& primitive, std::vector<float>& params)
{
    const std::size_t start = primitive.find_first_not_of(" \t");
    const std::size_t equals = primitive.find('=');
    if (start == std::string::npos || primitive[start] != '$' || equals == std::string::npos)
        return false;
    const int n = std::atoi(primitive.c_str() + start + 1);
    if (n < 1 || n > 9999)
        return false;
    const double value = EvalMacroOperand(primitive.substr(equals + 1), params) / 1000.0;
    if (params.size() < std::size_t(n))
        params.resize(std::size_t(n), 0.0f);
    params[std::size_t(n - 1)] = float(value);
    return true;
}

namespace {

double Sweep(double sx, double sy, double ex, double ey, const CDPoint& c)
{
    float a1 = float(std::atan2(sy - c.y, sx - c.x));
    float a2 = float(std::atan2(ey - c.y, ex - c.x));
    if (a1 < 0)
        a1 = float(a1 + kTwoPi);
    if (a2 < 0)
        a2 = float(a2 + kTwoPi);
    if (a1 <= a2)
        return double(a2) - double(a1);
    return double(float(kTwoPi + a2)) - double(a1);
}

}  // namespace

double ArcSweep(const CDPoint& start, const CDPoint& end, const CDPoint& centre)
{
    return Sweep(start.x, start.y, end.x, end.y, centre);
}

double ArcSweepInt(const POINT& start, const POINT& end, const CDPoint& centre)
{
    return Sweep(start.x, start.y, end.x, end.y, centre);
}

void KeepLongestRunValue(float value)
{
    CPadRunStatistic& s = g_PadRunStatistic;
    if (g_DominantPadRadius == 0.0f) {
        s.longest = 0;
        g_DominantPadRadius = value;
        s.current = value;
        s.run = 0;
    }
    if (value == s.current) {
        ++s.run;
        return;
    }
    if (s.run > s.longest) {
        g_DominantPadRadius = s.current;
        s.longest = s.run;
    }
    s.run = 0;
    s.current = value;
}
