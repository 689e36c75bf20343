// The aperture table's records: one aperture of the Gerber data and one
// aperture macro of an RS-274X file. The readers fill them; the document owns
// them.
#pragma once

#include "platform/object_lists.h"

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

class CBinaryReader;
class CBinaryWriter;
struct CApertureMacro;

struct CApertureRecord {
    std::string dCode;              // "D10"; 5 characters at most in files
    std::string shape;              // "ROUND", "RECT", "OVAL" or "MACRO"
    float width = 0.0f;             // mil
    float height = 0.0f;            // mil
    float userValue = 0.0f;         // 1.0 in records made from the operator's answer
    std::string comment;            // ";User Define" for those records
    CApertureMacro* macro = nullptr;  // attached macro (not owned), or none
    std::vector<float> params;      // values of the %AD definition, inches
};

struct CApertureMacro {
    std::string name;               // %AM text up to the first '*'
    std::string body;               // the text after it
};

// The number a D code names, read from its second character on ("D012" and
// "D12" both name 12; a code without digits names 0).
int ApertureCodeNumber(const std::string& code);

// The model's aperture table: the records in the order they were added, and
// a key of each D code (by its number and by its exact text) to the first
// record that has it, so a look-up costs the same for 20 apertures as for
// 100,000. The records can only be added at the end or all replaced, which
// keeps the key true; it reads like the owning list it wraps.
class CApertureList {
public:
    using Records = COwnedList<CApertureRecord>;

    CApertureList() = default;
    CApertureList(const CApertureList&) = delete;
    CApertureList& operator=(const CApertureList&) = delete;
    // Replaces the table with `records` (a project's table, for one).
    CApertureList& operator=(Records&& records);

    void push_back(std::unique_ptr<CApertureRecord> record);
    void clear();

    std::size_t size() const { return m_Records.size(); }
    bool empty() const { return m_Records.empty(); }
    const std::unique_ptr<CApertureRecord>& operator[](std::size_t i) const { return m_Records[i]; }
    const std::unique_ptr<CApertureRecord>& back() const { return m_Records.back(); }
    Records::const_iterator begin() const { return m_Records.begin(); }
    Records::const_iterator end() const { return m_Records.end(); }
    operator const Records&() const { return m_Records; }

    // The position of the first record whose D code names the number of
    // `code`, or -1.
    int PositionOfNumber(const std::string& code) const;
    // The position of the first record whose D code is `code` as written,
    // or -1.
    int PositionOfCode(const std::string& code) const;

private:
    void Key(std::size_t position);

    Records m_Records;
    std::unordered_map<int, std::size_t> m_ByNumber;
    std::unordered_map<std::string, std::size_t> m_ByCode;
};

// The stored head of an aperture record (aperture_image.cpp): D-code text,
// shape text, width, height, the operator's value and the comment text, 72
// bytes. Texts longer than their field are cut by the writer.
constexpr std::size_t APERTURE_DCODE_FIELD = 6;
constexpr std::size_t APERTURE_SHAPE_FIELD = 22;
constexpr std::size_t APERTURE_COMMENT_FIELD = 32;
constexpr std::size_t APERTURE_IMAGE72_SIZE = 72;
void WriteApertureImage72(const CApertureRecord& aperture, CBinaryWriter& out);
// Fills `aperture` from one head image, without a macro link; false on a
// short read.
bool ReadApertureImage72(CApertureRecord& aperture, CBinaryReader& in);
