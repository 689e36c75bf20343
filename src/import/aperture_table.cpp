// The aperture table: reading an aperture file through a FILETYPE template of
// the settings text, the look-ups by D code, the question for a D code the
// table lacks, and the apertures and macros of RS-274X parameters.
#include "import/aperture_table.h"

#include "geometry/text_tokens.h"
#include "import/aperture_dialogs.h"
#include "import/gerber_blocks.h"
#include "platform/file_messages.h"
#include "platform/host.h"
#include "platform/line_reader.h"
#include "platform/resources.h"
#include "records/board_model.h"
#include "resource_ids.h"
#include "settings/gerber_format_dlg.h"
#include "settings/work_order_dlg.h"
#include "ui/edit_wnd.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

// "D" and the number, appended: GCC 12 at -O3 warns falsely (-Wrestrict)
// about a string made of a literal plus a temporary.
std::string DCodeOf(int number)
{
    std::string code(1, 'D');
    code += std::to_string(number);
    return code;
}

constexpr std::size_t kTemplateLine = 100;
// Lines a template may add after its eleven fixed ones.
constexpr int kTemplateOptionLines = 8;

// The text after the first '$' of a template line ("" without one).
std::string AfterDollar(const std::string& line)
{
    std::size_t at = line.find('$');
    return at == std::string::npos ? std::string() : line.substr(at + 1);
}

void ToUpper(std::string& s)
{
    for (char& c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The D code of aperture-wheel position p.
int WheelCode(int p)
{
    if (p >= 20 && p <= 21)
        return p + 50;
    if (p >= 22 && p <= 31)
        return p - 2;
    if (p >= 32 && p <= 33)
        return p + 40;
    if (p >= 34 && p <= 73)
        return p - 4;
    return p;
}

// One FILETYPE block of the settings text: eleven fixed lines, then
// optional lines "DECIMAL $," (the tool writes sizes with a decimal comma)
// and "ROTATION $n" (column n holds the aperture's rotation in degrees).
struct CApertureDialect {
    std::string roundWords, rectWords, ovalWords, prefix, marker;
    int skip = 0, codeColumn = 0, shapeColumn = 0, xColumn = 0, yColumn = 0;
    int rotationColumn = -1;
    bool decimalComma = false;

    void Read(CLineEdit& settings, int at)
    {
        auto line = [&](int k) { return settings.GetLineText(at + k, kTemplateLine); };
        roundWords = line(2);
        rectWords = line(3);
        ovalWords = line(4);
        prefix = AfterDollar(line(5));
        marker = AfterDollar(line(6));
        StripComment(prefix);
        StripComment(marker);
        skip = std::atoi(AfterDollar(line(7)).c_str());
        codeColumn = std::atoi(AfterDollar(line(8)).c_str());
        shapeColumn = std::atoi(AfterDollar(line(9)).c_str());
        xColumn = std::atoi(AfterDollar(line(10)).c_str());
        yColumn = std::atoi(AfterDollar(line(11)).c_str());
        for (int k = 12; k < 12 + kTemplateOptionLines; ++k) {
            std::string option = line(k);
            StripComment(option);
            ToUpper(option);
            if (option.empty() || option.find("FILETYPE") != std::string::npos)
                break;
            std::string value = AfterDollar(option);
            StripComment(value);
            if (option.rfind("DECIMAL", 0) == 0)
                decimalComma = value == ",";
            else if (option.rfind("ROTATION", 0) == 0 && !value.empty())
                rotationColumn = std::atoi(value.c_str());
        }
    }

    // The shape a report's shape word names; an unknown word reads as round.
    std::string Shape(const std::string& word) const
    {
        if (roundWords.find(word) != std::string::npos)
            return "ROUND";
        if (rectWords.find(word) != std::string::npos)
            return "RECT";
        if (ovalWords.find(word) != std::string::npos)
            return "OVAL";
        return "ROUND";
    }

    // Commas between two digits become decimal points where the tool writes
    // its sizes that way, so "39,370" stays one number and no field moves.
    void Prepare(std::string& row) const
    {
        if (!decimalComma)
            return;
        for (std::size_t i = 1; i + 1 < row.size(); ++i)
            if (row[i] == ',' && IsDigit(row[i - 1]) && IsDigit(row[i + 1]))
                row[i] = '.';
    }

    // The record of one report row, sized as the Gerber reader sizes the
    // same aperture of an RS-274X file: X along board X, a round word with
    // unequal sizes an oval (the tools write such pads as obrounds).
    std::unique_ptr<CApertureRecord> Record(std::string& row, std::string& codeField) const
    {
        codeField = GetToken(row, codeColumn);
        auto record = std::make_unique<CApertureRecord>();
        record->shape = Shape(GetToken(row, shapeColumn));
        record->width = float(std::atof(GetToken(row, xColumn).c_str()));
        record->height = float(std::atof(GetToken(row, yColumn).c_str()));
        if (g_GerberFormatDlg.InchMM2 == 1) {
            record->width *= 39.37f;
            record->height *= 39.37f;
        }
        if (record->height == 0.0f)
            record->height = record->width;
        if (rotationColumn >= 0) {
            const double degrees = std::atof(GetToken(row, rotationColumn).c_str());
            if (std::fabs(std::fmod(std::fabs(degrees), 180.0) - 90.0) < 0.01)
                std::swap(record->width, record->height);
        }
        if (record->shape == "ROUND" && record->width != record->height)
            record->shape = "OVAL";
        return record;
    }
};

}  // namespace

CApertureTable::CApertureTable(CBoardModel& model)
    : m_Apertures(model.m_ApertureList),
      m_Macros(model.m_MacroList),
      m_AreaFillFlag(model.m_AreaFillFlag)
{
}

void CApertureTable::Load(bool report)
{
    CLineEdit& settings = g_SettingsTextWnd.Edit();
    int at = settings.FindLine("FILETYPE");
    for (int n = 0; at >= 0 && n < g_ApertureFormat; ++n)
        at = settings.FindNextLine();
    if (at < 0 || g_ApertureFormat < 0) {
        if (report)
            AfxMessageBox(LoadResString(IDS_APERTURE_SETTING_ERROR), MB_OK);
        return;
    }
    CApertureDialect dialect;
    dialect.Read(settings, at);

    m_Apertures.clear();
    if (g_CurrentApertureFile.empty())
        return;
    auto fail = [&](unsigned id) {
        m_Apertures.clear();
        if (report)
            AfxMessageBox(WithName(id, g_CurrentApertureFile), MB_OK);
    };
    CTextLineReader in;
    if (!in.Open(g_CurrentApertureFile))
        return fail(IDS_APERTURE_FILE_ERROR);
    // Whole lines: a line of any length is read once, never in pieces.
    std::string line;
    if (!dialect.marker.empty()) {
        while (in.ReadLine(line)) {
            ToUpper(line);
            if (line.find(dialect.marker) != std::string::npos)
                break;
        }
    }
    for (int i = 0; i < dialect.skip && in.ReadLine(line); ++i) {
    }
    const bool wheel = dialect.prefix.find("GAP") != std::string::npos ||
                       dialect.prefix.find("APR") != std::string::npos;
    int position = 10;
    std::string codeField;
    while (in.ReadLine(line)) {
        ToUpper(line);
        StripComment(line);
        if (line.size() < 3)
            continue;
        dialect.Prepare(line);
        auto record = dialect.Record(line, codeField);
        if (wheel) {
            record->dCode = DCodeOf(WheelCode(position));
            if (codeField != "0")
                m_Apertures.push_back(std::move(record));
        } else {
            record->dCode = dialect.prefix + codeField;
            // A tool that writes bare numbers ("10") means D codes.
            if (!record->dCode.empty() && IsDigit(record->dCode[0]))
                record->dCode.insert(record->dCode.begin(), 'D');
            // Headings and notes name no D code.
            if (std::any_of(record->dCode.begin(), record->dCode.end(), IsDigit))
                m_Apertures.push_back(std::move(record));
        }
        ++position;
    }
    if (in.Failed())
        return fail(IDS_APERTURE_FILE_ERROR);
    g_ApertureLoaded = 1;
    if (m_Apertures.empty())
        fail(IDS_APERTURE_FILE_EMPTY);
}

CApertureRecord* CApertureTable::Find(const std::string& code) const
{
    const int at = m_Apertures.PositionOfNumber(code);
    return at < 0 ? nullptr : m_Apertures[std::size_t(at)].get();
}

bool CApertureTable::MayAsk(const std::string& code)
{
    return !code.empty() && code.find("D02M") == std::string::npos &&
           code.find("G01D") == std::string::npos;
}

CApertureRecord* CApertureTable::Ask(const std::string& code)
{
    CApertureDefDlg dlg;
    dlg.m_Name = code;
    dlg.DoModal();
    auto record = std::make_unique<CApertureRecord>();
    record->dCode = code;
    record->shape = dlg.m_Shape;
    record->width = dlg.m_Width;
    record->height = dlg.m_Length;
    record->userValue = 1.0f;
    record->comment = ";User Define";
    m_Apertures.push_back(std::move(record));
    return m_Apertures.back().get();
}

float CApertureTable::Width(const std::string& code)
{
    if (m_AreaFillFlag)
        return 1.0f;
    if (CApertureRecord* a = Find(code))
        return a->width;
    if (MayAsk(code))
        return Ask(code)->width;
    return 0.0f;
}

int CApertureTable::Index(const std::string& code)
{
    const int at = m_Apertures.PositionOfNumber(code);
    if (at >= 0)
        return at;
    if (!MayAsk(code))
        return 0;
    Ask(code);
    return int(m_Apertures.size() - 1);
}

float ApertureWidthAt(const CApertureList& apertures, int index, bool areaFill)
{
    if (areaFill)
        return 1.0f;
    if (index < 0 || std::size_t(index) >= apertures.size())
        return 0.0f;
    return apertures[std::size_t(index)]->width;
}

float CApertureTable::Height(const std::string& code) const
{
    CApertureRecord* a = Find(code);
    return a ? a->height : 1.0f;
}

std::string CApertureTable::Shape(const std::string& code) const
{
    CApertureRecord* a = Find(code);
    if (!a)
        return "ROUND";
    return a->macro ? "MACRO" : a->shape;
}

void CApertureTable::Define(const std::string& param)
{
    int dNumber = 0;
    std::string name;
    std::vector<float> values;
    ParseApertureParams(param, dNumber, name, values);
    values.resize(std::max<std::size_t>(values.size(), 2), 0.0f);
    const std::string code = DCodeOf(dNumber);
    const int at = m_Apertures.PositionOfCode(code);
    CApertureRecord* record = at < 0 ? nullptr : m_Apertures[std::size_t(at)].get();
    std::unique_ptr<CApertureRecord> fresh;
    if (!record) {
        fresh = std::make_unique<CApertureRecord>();
        record = fresh.get();
        record->dCode = code;
    }
    record->macro = nullptr;
    // Any name but a standard template's may be a macro, one letter too.
    if (name != "C" && name != "R" && name != "O" && name != "P") {
        for (auto& m : m_Macros)
            if (m->name == name) {
                record->macro = m.get();
                record->shape = "MACRO";
                record->width = record->height = 0.0f;
                record->params = values;
                break;
            }
    }
    if (!record->macro) {
        if (name == "C" || name == "P") {
            record->shape = "ROUND";
            record->width = record->height = values[0] * 1000.0f;
        } else {
            record->shape = name == "R" ? "RECT" : "OVAL";
            record->width = values[0] * 1000.0f;
            record->height = values[1] * 1000.0f;
        }
        record->params = values;
    }
    if (fresh)
        m_Apertures.push_back(std::move(fresh));
}

void CApertureTable::DefineMacro(const std::string& param)
{
    std::size_t star = param.find('*');
    if (star == std::string::npos)
        return;
    auto macro = std::make_unique<CApertureMacro>();
    macro->name = param.substr(2, star - 2);
    macro->body = param.substr(star + 1);
    m_Macros.push_back(std::move(macro));
}
