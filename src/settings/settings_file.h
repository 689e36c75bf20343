// The settings file "ORDUNE.INI" of the system directory: machine values
// over the model defaults. Every line is also kept in the settings text
// window, where the aperture dialects and languages are looked up later.
#pragma once

#include <string>

// The settings-file values that belong to the document; it passes its own.
struct CDocumentFileSettings {
    int& groupOff;  // "GROUP OFF"
    int& t1Step;    // "T1_STEP"
};

// Applies the model defaults, then reads the settings file (`path`, or
// "ORDUNE.INI" in the system directory when empty) line by line, and reloads
// the stored registration targets. Returns 1 when the file was read; 0 with a
// message when it could not be opened, the model defaults applied.
int LoadSettings(CDocumentFileSettings document, const std::string& path = "");

// The settings file's name in the system directory.
extern const char* const g_SettingsFileName;
