// The two dialogs of the DXF exchange: the layer roles of a DXF to Gerber
// conversion with the drawing's unit, and the DXF-CAM layer list in which a
// line that begins with ";" marks a hidden layer.
#pragma once

#include "ui/dialog.h"

#include <string>

// Adds an entry to a combo box with a sorted list: in alphabetical order
// without regard to case, after the entries equal to it.
void AddSortedString(CDialog& dialog, unsigned id, const std::string& text);

// The layer combo of the machining-data and CAM upload dialogs: every name
// of `layerList` closed by ";" (the list is consumed), entry `index` of the
// sorted list selected (none when outside it).
void FillLayerCombo(CDialog& dialog, unsigned id, std::string& layerList, int index);
// The selected entry's text and index into `name` and `index` ("", -1 when
// none is selected).
void ReadLayerCombo(const CDialog& dialog, unsigned id, std::string& name, int& index);

class CDxfSettingsDlg : public CDialog {
public:
    std::string m_strLayerList;      // "A;B;C;": set before DoModal
    std::string m_strDrillLayer;
    std::string m_strBottomLayer;
    std::string m_strTopLayer;
    std::string m_strOutlineLayer;
    std::string m_strMachiningLayer;
    std::string m_strUnit;

    CDxfSettingsDlg();

    bool OnInitDialog() override;
    void OnOK() override;

private:
    // Selects the first entry after `start`, wrapping round, that begins
    // with `prefix` without regard to case; nothing when none does.
    void SelectString(unsigned id, int start, const std::string& prefix);
    std::string SelectedText(unsigned id) const;
};

class CDxfLayerDlg : public CDialog {
public:
    std::string m_strLayers;

    CDxfLayerDlg();

    void DoDataExchange(CDataExchange* pDX) override;
};
