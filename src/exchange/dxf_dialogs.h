// The two dialogs of the DXF exchange: the layer roles of a DXF to Gerber
// conversion with the drawing's unit, and the DXF-CAM layer list in which a
// line that begins with ";" marks a hidden layer.
#pragma once

#include "ui/dialog.h"

#include <string>

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
    // Entries kept in alphabetical order (without regard to case), as the
    // template's sorted combo boxes show them.
    void AddSorted(unsigned id, const std::string& text);
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
