// Dialogs in the core: a dialog object keeps the state of its controls by
// control id and exchanges it with its members (DoDataExchange), exactly as
// the program's dialogs are described. Showing a dialog goes through the
// host: the desktop program renders the dialog's template and keeps the
// widgets and these control states in step; tests set controls by id and
// press buttons without any window.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

// The state of one control.
struct CControlState {
    std::string text;                // edit, static and button text; combo edit text
    int check = 0;                   // check boxes and radio buttons: 0, 1 (2 indeterminate)
    std::vector<std::string> items;  // combo and list box entries
    int selection = -1;              // combo and list box selection, -1 for none
    bool enabled = true;
    bool visible = true;
    int rangeMin = 0, rangeMax = 100, position = 0;  // progress bars and sliders
};

class CDialog;

// What shows a dialog on screen. The dialog tells it which controls changed so
// the widgets follow; the view writes user input straight into the states.
class CDialogView {
public:
    virtual ~CDialogView() = default;
    virtual void ControlChanged(unsigned id) = 0;
    virtual void DialogShown(bool shown) = 0;
    virtual void CaptionChanged() = 0;
    // The dialog ended (modal) or was destroyed (modeless).
    virtual void DialogEnded() = 0;
    // The dialog asked to be moved from where it was placed (MoveWindowBy).
    virtual void WindowMoved() {}
};

class CDataExchange {
public:
    CDataExchange(CDialog& dialog, bool saveAndValidate)
        : m_Dialog(dialog), m_bSaveAndValidate(saveAndValidate) {}
    CDialog& Dialog() { return m_Dialog; }
    // After a failure the remaining exchanges do nothing, so members before
    // the failing field keep their new values and the rest keep theirs.
    bool Failed() const { return m_Failed; }
    // Reports `message`, marks the exchange failed and remembers the control.
    void Fail(unsigned id, const std::string& message);

    CDialog& m_Dialog;
    const bool m_bSaveAndValidate;

private:
    bool m_Failed = false;
};

class CDialog {
public:
    // `templateId` names the dialog template in the resources.
    explicit CDialog(unsigned templateId);
    virtual ~CDialog();
    // A dialog object owns no window between runs; copies carry the members
    // and the control states, never a window.
    CDialog(const CDialog& other);
    CDialog& operator=(const CDialog& other);

    unsigned TemplateId() const { return m_TemplateId; }

    // Runs the dialog modally through the host; returns IDOK, IDCANCEL or
    // the value given to EndDialog.
    int DoModal();
    // Creates the dialog modelessly through the host; false when it could not.
    bool CreateModeless();
    void DestroyWindow();
    virtual void ShowWindow(bool show);
    bool IsWindow() const { return m_Open; }
    bool IsVisible() const { return m_Open && m_Shown; }
    bool IsModal() const { return m_Modal; }
    // The value EndDialog was given in the current or last modal run.
    int Result() const { return m_Result; }

    // Framework hooks the program's dialogs override.
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);
    // A key (its virtual-key code) pressed in the window and left by the
    // control that had the focus, before the window's own handling of it.
    virtual void OnKeyDown(unsigned /*key*/) {}

    // true: controls to members (stops at the first field that fails and
    // returns false); false: members to controls.
    bool UpdateData(bool saveAndValidate = true);
    void EndDialog(int result);

    // A button pressed or another command from a control. OK and Cancel go to
    // OnOK and OnCancel, other ids to the handler registered for them.
    void PressButton(unsigned id);
    // The focus leaves control `id` (edits that copy on leaving use this).
    void KillFocus(unsigned id);
    // What the operator did to a control, after its state took it in: the
    // focus entered it, its text was typed (an edit, or the edit part of a
    // combo box), or another entry was picked (combo and list boxes). Only
    // the operator's acts are told: text the dialog writes itself tells
    // nothing, so a handler that fills one edit from another cannot echo.
    void SetFocus(unsigned id);
    void TextEdited(unsigned id);
    void SelectionChanged(unsigned id);

    CControlState& Control(unsigned id);
    const CControlState* FindControl(unsigned id) const;
    const std::map<unsigned, CControlState>& Controls() const { return m_Controls; }
    // Call after changing a control's state directly, so a shown window follows.
    void ControlChanged(unsigned id);

    std::string GetDlgItemText(unsigned id) const;
    void SetDlgItemText(unsigned id, const std::string& text);
    int IsDlgButtonChecked(unsigned id) const;
    void CheckDlgButton(unsigned id, int check);
    void EnableControl(unsigned id, bool enable);
    void ShowControl(unsigned id, bool show);

    // Combo and list boxes.
    int AddString(unsigned id, const std::string& text);
    void ResetContent(unsigned id);
    int GetCount(unsigned id) const;
    int GetCurSel(unsigned id) const;
    void SetCurSel(unsigned id, int index);
    std::string GetLBText(unsigned id, int index) const;
    // The index of the entry equal to `text`, or -1.
    int FindStringExact(unsigned id, const std::string& text) const;

    const std::string& Caption() const { return m_Caption; }
    void SetWindowText(const std::string& caption);
    // The control that had the focus when data exchange failed, else 0.
    unsigned FailedControl() const { return m_FailedControl; }

    void SetView(CDialogView* view) { m_View = view; }
    CDialogView* View() const { return m_View; }

    // Moves the window by dx, dy dialog units from where it was placed.
    void MoveWindowBy(int dx, int dy);
    int WindowOffsetX() const { return m_OffsetX; }
    int WindowOffsetY() const { return m_OffsetY; }

protected:
    // Registers the handler of a button or command id.
    void OnCommand(unsigned id, std::function<void()> handler) { m_Handlers[id] = std::move(handler); }
    void OnFocusLost(unsigned id, std::function<void()> handler) { m_FocusHandlers[id] = std::move(handler); }
    void OnFocusGained(unsigned id, std::function<void()> handler)
    {
        m_Notes[{id, Note::FocusGained}] = std::move(handler);
    }
    void OnTextEdited(unsigned id, std::function<void()> handler)
    {
        m_Notes[{id, Note::TextEdited}] = std::move(handler);
    }
    void OnSelectionChanged(unsigned id, std::function<void()> handler)
    {
        m_Notes[{id, Note::SelectionChanged}] = std::move(handler);
    }

private:
    friend class CDataExchange;

    unsigned m_TemplateId;
    std::map<unsigned, CControlState> m_Controls;
    std::map<unsigned, std::function<void()>> m_Handlers;
    std::map<unsigned, std::function<void()>> m_FocusHandlers;
    enum class Note { FocusGained, TextEdited, SelectionChanged };
    std::map<std::pair<unsigned, Note>, std::function<void()>> m_Notes;
    void Notify(unsigned id, Note note);
    std::string m_Caption;
    CDialogView* m_View = nullptr;
    bool m_Open = false;
    bool m_Modal = false;
    bool m_Shown = false;
    int m_Result = 0;
    unsigned m_FailedControl = 0;
    int m_OffsetX = 0, m_OffsetY = 0;

    // Each run starts with fresh controls, as a new window has them: the
    // template's texts, no entries, nothing checked.
    void ResetControls();
};

// Ends an open dialog as its Cancel button does, so the dialog can take back
// what it changed while open; ends it anyway when its Cancel keeps it open.
// Hosts use this for dialogs nobody answers.
void CancelDialog(CDialog& dialog);

// Whether the whole text (blanks around allowed) is a finite number, as the
// data exchange accepts it in a number field; `value` is set only then.
bool ParseNumberText(const std::string& text, double& value);

// Data exchange between controls and members. On saving, text that is not a
// number is refused with a message and the exchange stops there.
void DDX_Text(CDataExchange* pDX, unsigned id, std::string& value);
void DDX_Text(CDataExchange* pDX, unsigned id, int& value);
void DDX_Text(CDataExchange* pDX, unsigned id, long& value);
void DDX_Text(CDataExchange* pDX, unsigned id, float& value);
void DDX_Text(CDataExchange* pDX, unsigned id, double& value);
void DDX_Check(CDataExchange* pDX, unsigned id, int& value);
// The index of the checked button among the group's buttons (-1 when none is
// checked).
void DDX_Radio(CDataExchange* pDX, const std::vector<unsigned>& group, int& value);
void DDX_CBIndex(CDataExchange* pDX, unsigned id, int& value);
void DDX_CBString(CDataExchange* pDX, unsigned id, std::string& value);
void DDX_LBIndex(CDataExchange* pDX, unsigned id, int& value);
// Range checks, called right after the field's exchange.
void DDV_MinMaxInt(CDataExchange* pDX, unsigned id, int value, int minValue, int maxValue);
void DDV_MinMaxFloat(CDataExchange* pDX, unsigned id, float value, float minValue, float maxValue);
void DDV_MinMaxDouble(CDataExchange* pDX, unsigned id, double value, double minValue,
                      double maxValue);
void DDV_MaxChars(CDataExchange* pDX, unsigned id, const std::string& value, int count);
