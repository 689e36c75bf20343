// The tool dialogs: the widths and depths of the four engraving tools of the
// offset-path commands, the eight-slot tool-change table and the drill
// tool-size dialog, with the unit conversions every tool dialog shares.
// Sizes are held in mil and Z depths in Z pulses; the operator sees both in
// millimetres.
#pragma once

#include "ui/dialog.h"

#include <array>
#include <string>

struct CDrillTool;

// mil <-> mm as the tool dialogs show sizes (double, as the float sizes are
// promoted before the arithmetic; callers that keep a float cast).
constexpr double MilToMm(double mil) { return mil * 2.54 / 100; }
constexpr double MmToMil(double mm) { return mm * 100 / 2.54; }
// Z pulses <-> mm in float. A scale that is not a positive number (a broken
// settings file) shows every depth as 0 rather than as an infinity the
// dialog's own exchange would then refuse.
float PulsesToMm(float pulses, float pulsesPerMM);
float MmToPulses(float mm, float pulsesPerMM);

// The number a text begins with (blanks before it skipped), 0 when it begins
// with none: "0.5/BLUE" is 0.5. A text that reads as an infinity or not a
// number counts as none.
double LeadingNumber(const std::string& text);
// "%g" and "%d" of a value, as the tool dialogs write their edits.
std::string FormatG(double value);
std::string FormatD(int value);

// The path-calculation-method dialog of the offset-path commands: width and
// depth (mm) of engraving tools one to four, and whether tool four is used.
// The callers fill the members before the run and read them after OK.
class CPathMethodDlg : public CDialog {
public:
    float m_EngraveDepth1 = 0.0f;
    float m_EngraveDepth2 = 0.0f;
    float m_EngraveDepth3 = 0.0f;
    float m_EngraveWidth1 = 0.0f;
    float m_EngraveWidth2 = 0.0f;
    float m_EngraveWidth3 = 0.0f;
    float m_EngraveDepth4 = 0.0f;
    float m_EngraveWidth4 = 0.0f;
    int m_UseEngraver4 = 0;

    CPathMethodDlg();
    void DoDataExchange(CDataExchange* pDX) override;
};

// The tool-change table: slots 1 to 8 each show a number, a name, a feed
// speed (mm/s) and a depth (mm); slot 0 has no controls. The tool-change
// code fills and reads the rows.
class CToolChangeDlg : public CDialog {
public:
    static constexpr int SLOTS = 9;
    std::array<std::string, SLOTS> m_Number;
    std::array<std::string, SLOTS> m_Name;
    std::array<float, SLOTS> m_Speed{};
    std::array<float, SLOTS> m_Depth{};
    std::string m_SizeUnit = "mm";
    std::string m_DepthUnit = "mm";
    std::string m_SpeedUnit = "mm/s";

    CToolChangeDlg();
    void DoDataExchange(CDataExchange* pDX) override;
    // Blanks the number and name of every slot; speeds and depths stay.
    void ClearRows();
};

// The table lives for the whole run, so its rows keep what was written.
extern CToolChangeDlg g_ToolChangeDlg;

// What the tool-size dialog asks of the board view: which drill tool's holes
// it marks (-1 for none) and a repaint.
class CDrillToolView {
public:
    virtual ~CDrillToolView() = default;
    virtual void SetHighlightedDrillTool(int tool) = 0;
    virtual void Invalidate() = 0;
};

// The drill tool-size dialog: picks a drill tool of g_HoleList and edits its
// diameter in mil and in mm, kept in step; every change takes effect on the
// tool and in g_ToolSizes as it is typed. The controls are reached by id, so
// there is nothing to exchange.
class CToolSizeDlg : public CDialog {
public:
    // 0 at first; 1 while the mil edit had the focus last, 2 the mm edit.
    static constexpr int kFocusMil = 1;
    static constexpr int kFocusMm = 2;
    int m_EditFocus = 0;
    CDrillToolView* m_pView = nullptr;
    // The tool number the edits belong to; -1 while there is none.
    int m_Tool = -1;

    CToolSizeDlg();
    // The view marks no tool any more.
    ~CToolSizeDlg() override;
    CToolSizeDlg(const CToolSizeDlg&) = delete;
    CToolSizeDlg& operator=(const CToolSizeDlg&) = delete;

    bool OnInitDialog() override;
    void OnSelChangeTool();
    void OnSetFocusMil() { m_EditFocus = kFocusMil; }
    void OnSetFocusMm() { m_EditFocus = kFocusMm; }
    void OnChangeMm();
    void OnChangeMil();

private:
    // The tool both edits belong to, with what they read, when the edit of
    // `focus` is the one the operator types in; else null. A change of the
    // other edit is this dialog's own write, and without a current tool
    // there is nothing to change.
    CDrillTool* EditedTool(int focus, double& mil, double& mm);
    // Shows tool `number` in both edits and marks it on the view.
    void ShowTool(int number);
    void Highlight(int tool);
    void InvalidateView();
};
