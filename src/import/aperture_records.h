// The aperture table's records: one aperture of the Gerber data and one
// aperture macro of an RS-274X file. The readers fill them; the document owns
// them.
#pragma once

#include <string>
#include <vector>

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
