// The aperture table's records: one aperture of the Gerber data and one
// aperture macro of an RS-274X file. The readers fill them; the document owns
// them.
#pragma once

#include <cstddef>
#include <string>
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
