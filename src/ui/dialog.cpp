// Control states, data exchange and the dialog's life through the host.
#include "ui/dialog.h"

#include "platform/host.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "ui/dialog_template.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

// Whether `convert` reads the whole text (blanks around allowed); `value` is
// set only then.
template <class T, class Convert>
bool ParseWholeText(const std::string& text, T& value, Convert convert)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    T v = convert(begin, &end);
    if (end == begin || errno == ERANGE)
        return false;
    while (*end == ' ' || *end == '\t')
        ++end;
    if (*end != '\0')
        return false;
    value = v;
    return true;
}

}  // namespace

void CDataExchange::Fail(unsigned id, const std::string& message)
{
    if (m_Failed)
        return;
    m_Failed = true;
    m_Dialog.m_FailedControl = id;
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
}

CDialog::CDialog(unsigned templateId) : m_TemplateId(templateId) {}

CDialog::~CDialog()
{
    if (m_Open && !m_Modal)
        DestroyWindow();
}

CDialog::CDialog(const CDialog& other)
    : m_TemplateId(other.m_TemplateId), m_Controls(other.m_Controls), m_Caption(other.m_Caption)
{
}

CDialog& CDialog::operator=(const CDialog& other)
{
    // Handlers stay those this object registered: they refer to its members.
    if (this != &other) {
        m_TemplateId = other.m_TemplateId;
        m_Controls = other.m_Controls;
        m_Caption = other.m_Caption;
    }
    return *this;
}

int CDialog::DoModal()
{
    if (m_Open)
        return -1;
    m_Open = true;
    m_Modal = true;
    m_Shown = true;
    m_Result = IDCANCEL;
    m_FailedControl = 0;
    ResetControls();
    if (Host().HasWindows()) {
        Host().RunModalDialog(*this);
    } else {
        OnInitDialog();
        if (IsWindow())
            CancelDialog(*this);
        Host().DialogUnanswered(*this);
    }
    m_Open = false;
    m_Shown = false;
    m_Modal = false;
    m_View = nullptr;
    return m_Result;
}

bool CDialog::CreateModeless()
{
    if (m_Open)
        return false;
    m_Open = true;
    m_Modal = false;
    m_Shown = false;
    ResetControls();
    if (!Host().HasWindows()) {
        OnInitDialog();
        return true;
    }
    if (!Host().CreateModelessDialog(*this)) {
        m_Open = false;
        return false;
    }
    return true;
}

void CDialog::DestroyWindow()
{
    if (!m_Open)
        return;
    if (m_Modal) {
        EndDialog(IDCANCEL);
        return;
    }
    m_Open = false;
    m_Shown = false;
    if (m_View) {
        CDialogView* view = m_View;
        m_View = nullptr;
        view->DialogEnded();
    }
}

void CDialog::ResetControls()
{
    m_Controls.clear();
    m_OffsetX = m_OffsetY = 0;
    CDialogTemplate tmpl;
    if (LoadDialogTemplate(m_TemplateId, tmpl))
        ApplyTemplateToControls(*this, tmpl);
}

void CDialog::MoveWindowBy(int dx, int dy)
{
    m_OffsetX += dx;
    m_OffsetY += dy;
    if (m_View)
        m_View->WindowMoved();
}

void CDialog::ShowWindow(bool show)
{
    m_Shown = show;
    if (m_View)
        m_View->DialogShown(show);
}

bool CDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void CDialog::OnOK()
{
    if (!UpdateData(true))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange*) {}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange dx(*this, saveAndValidate);
    DoDataExchange(&dx);
    return !dx.Failed();
}

void CDialog::EndDialog(int result)
{
    m_Result = result;
    if (!m_Modal) {
        DestroyWindow();
        return;
    }
    m_Open = false;
    if (m_View)
        m_View->DialogEnded();
}

void CDialog::PressButton(unsigned id)
{
    if (!m_Open)
        return;
    auto handler = m_Handlers.find(id);
    if (handler != m_Handlers.end())
        handler->second();
    else if (id == IDOK)
        OnOK();
    else if (id == IDCANCEL)
        OnCancel();
}

void CDialog::KillFocus(unsigned id)
{
    auto handler = m_FocusHandlers.find(id);
    if (handler != m_FocusHandlers.end())
        handler->second();
}

void CDialog::Notify(unsigned id, Note note)
{
    if (!m_Open)
        return;
    auto handler = m_Notes.find({id, note});
    if (handler != m_Notes.end())
        handler->second();
}

void CDialog::SetFocus(unsigned id) { Notify(id, Note::FocusGained); }
void CDialog::TextEdited(unsigned id) { Notify(id, Note::TextEdited); }
void CDialog::SelectionChanged(unsigned id) { Notify(id, Note::SelectionChanged); }

bool ParseNumberText(const std::string& text, double& value)
{
    double v = 0.0;
    if (!ParseWholeText(text, v, [](const char* begin, char** end) { return std::strtod(begin, end); }) ||
        !std::isfinite(v))
        return false;
    value = v;
    return true;
}

void CancelDialog(CDialog& dialog)
{
    dialog.PressButton(IDCANCEL);
    if (dialog.IsWindow())
        dialog.EndDialog(IDCANCEL);
}

CControlState& CDialog::Control(unsigned id) { return m_Controls[id]; }

const CControlState* CDialog::FindControl(unsigned id) const
{
    auto it = m_Controls.find(id);
    return it == m_Controls.end() ? nullptr : &it->second;
}

void CDialog::ControlChanged(unsigned id)
{
    if (m_View)
        m_View->ControlChanged(id);
}

std::string CDialog::GetDlgItemText(unsigned id) const
{
    const CControlState* c = FindControl(id);
    return c ? c->text : std::string();
}

void CDialog::SetDlgItemText(unsigned id, const std::string& text)
{
    Control(id).text = text;
    ControlChanged(id);
}

int CDialog::IsDlgButtonChecked(unsigned id) const
{
    const CControlState* c = FindControl(id);
    return c ? c->check : 0;
}

void CDialog::CheckDlgButton(unsigned id, int check)
{
    Control(id).check = check;
    ControlChanged(id);
}

void CDialog::EnableControl(unsigned id, bool enable)
{
    Control(id).enabled = enable;
    ControlChanged(id);
}

void CDialog::ShowControl(unsigned id, bool show)
{
    Control(id).visible = show;
    ControlChanged(id);
}

int CDialog::AddString(unsigned id, const std::string& text)
{
    CControlState& c = Control(id);
    c.items.push_back(text);
    ControlChanged(id);
    return static_cast<int>(c.items.size()) - 1;
}

void CDialog::ResetContent(unsigned id)
{
    CControlState& c = Control(id);
    c.items.clear();
    c.selection = -1;
    ControlChanged(id);
}

int CDialog::GetCount(unsigned id) const
{
    const CControlState* c = FindControl(id);
    return c ? static_cast<int>(c->items.size()) : 0;
}

int CDialog::GetCurSel(unsigned id) const
{
    const CControlState* c = FindControl(id);
    return c ? c->selection : -1;
}

void CDialog::SetCurSel(unsigned id, int index)
{
    CControlState& c = Control(id);
    c.selection = index >= 0 && index < static_cast<int>(c.items.size()) ? index : -1;
    if (c.selection >= 0)
        c.text = c.items[static_cast<std::size_t>(c.selection)];
    ControlChanged(id);
}

std::string CDialog::GetLBText(unsigned id, int index) const
{
    const CControlState* c = FindControl(id);
    if (!c || index < 0 || index >= static_cast<int>(c->items.size()))
        return "";
    return c->items[static_cast<std::size_t>(index)];
}

int CDialog::FindStringExact(unsigned id, const std::string& text) const
{
    const CControlState* c = FindControl(id);
    if (!c)
        return -1;
    for (std::size_t i = 0; i < c->items.size(); ++i)
        if (c->items[i] == text)
            return static_cast<int>(i);
    return -1;
}

void CDialog::SetWindowText(const std::string& caption)
{
    m_Caption = caption;
    if (m_View)
        m_View->CaptionChanged();
}

namespace {

// The texts for refused input (IDS_PARSE_...) stand %1 and %2 for the limits.
std::string FormatText(std::string text, const std::string& first, const std::string& second = "")
{
    for (std::size_t at; (at = text.find("%1")) != std::string::npos;)
        text.replace(at, 2, first);
    for (std::size_t at; (at = text.find("%2")) != std::string::npos;)
        text.replace(at, 2, second);
    return text;
}

std::string FormatNumber(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

bool ParseLong(const std::string& text, long& value)
{
    return ParseWholeText(text, value,
                          [](const char* begin, char** end) { return std::strtol(begin, end, 10); });
}

template <class T>
void ExchangeInteger(CDataExchange* pDX, unsigned id, T& value)
{
    if (pDX->Failed())
        return;
    CDialog& d = pDX->Dialog();
    if (!pDX->m_bSaveAndValidate) {
        d.SetDlgItemText(id, std::to_string(value));
        return;
    }
    long v = 0;
    if (!ParseLong(d.GetDlgItemText(id), v) || v < static_cast<long>(std::numeric_limits<T>::min()) ||
        v > static_cast<long>(std::numeric_limits<T>::max())) {
        pDX->Fail(id, LoadResString(IDS_PARSE_INT));
        return;
    }
    value = static_cast<T>(v);
}

template <class T>
void ExchangeReal(CDataExchange* pDX, unsigned id, T& value)
{
    if (pDX->Failed())
        return;
    CDialog& d = pDX->Dialog();
    if (!pDX->m_bSaveAndValidate) {
        d.SetDlgItemText(id, FormatNumber(value));
        return;
    }
    double v = 0;
    if (!ParseNumberText(d.GetDlgItemText(id), v)) {
        pDX->Fail(id, LoadResString(IDS_PARSE_REAL));
        return;
    }
    value = static_cast<T>(v);
}

template <class T>
void CheckRange(CDataExchange* pDX, unsigned id, T value, T minValue, T maxValue)
{
    if (!pDX->m_bSaveAndValidate || pDX->Failed())
        return;
    if (value < minValue || value > maxValue)
        pDX->Fail(id, FormatText(LoadResString(IDS_PARSE_RANGE), FormatNumber(double(minValue)),
                                 FormatNumber(double(maxValue))));
}

}  // namespace

void DDX_Text(CDataExchange* pDX, unsigned id, std::string& value)
{
    if (pDX->Failed())
        return;
    if (pDX->m_bSaveAndValidate)
        value = pDX->Dialog().GetDlgItemText(id);
    else
        pDX->Dialog().SetDlgItemText(id, value);
}

void DDX_Text(CDataExchange* pDX, unsigned id, int& value) { ExchangeInteger(pDX, id, value); }
void DDX_Text(CDataExchange* pDX, unsigned id, long& value) { ExchangeInteger(pDX, id, value); }
void DDX_Text(CDataExchange* pDX, unsigned id, float& value) { ExchangeReal(pDX, id, value); }
void DDX_Text(CDataExchange* pDX, unsigned id, double& value) { ExchangeReal(pDX, id, value); }

void DDX_Check(CDataExchange* pDX, unsigned id, int& value)
{
    if (pDX->Failed())
        return;
    if (pDX->m_bSaveAndValidate)
        value = pDX->Dialog().IsDlgButtonChecked(id);
    else
        pDX->Dialog().CheckDlgButton(id, value);
}

void DDX_Radio(CDataExchange* pDX, const std::vector<unsigned>& group, int& value)
{
    if (pDX->Failed())
        return;
    CDialog& d = pDX->Dialog();
    if (pDX->m_bSaveAndValidate) {
        value = -1;
        for (std::size_t i = 0; i < group.size(); ++i)
            if (d.IsDlgButtonChecked(group[i]))
                value = static_cast<int>(i);
        return;
    }
    for (std::size_t i = 0; i < group.size(); ++i)
        d.CheckDlgButton(group[i], static_cast<int>(i) == value ? 1 : 0);
}

void DDX_CBIndex(CDataExchange* pDX, unsigned id, int& value)
{
    if (pDX->Failed())
        return;
    if (pDX->m_bSaveAndValidate)
        value = pDX->Dialog().GetCurSel(id);
    else
        pDX->Dialog().SetCurSel(id, value);
}

void DDX_CBString(CDataExchange* pDX, unsigned id, std::string& value)
{
    if (pDX->Failed())
        return;
    CDialog& d = pDX->Dialog();
    if (pDX->m_bSaveAndValidate) {
        value = d.GetDlgItemText(id);
        return;
    }
    // Selects the first entry that starts with the text, as a combo does; the
    // edit part shows the text either way.
    int found = -1;
    for (int i = 0; i < d.GetCount(id) && found < 0; ++i)
        if (d.GetLBText(id, i).compare(0, value.size(), value) == 0)
            found = i;
    d.SetCurSel(id, found);
    d.SetDlgItemText(id, found >= 0 ? d.GetLBText(id, found) : value);
}

void DDX_LBIndex(CDataExchange* pDX, unsigned id, int& value) { DDX_CBIndex(pDX, id, value); }

void DDV_MinMaxInt(CDataExchange* pDX, unsigned id, int value, int minValue, int maxValue)
{
    CheckRange(pDX, id, value, minValue, maxValue);
}

void DDV_MinMaxFloat(CDataExchange* pDX, unsigned id, float value, float minValue, float maxValue)
{
    CheckRange(pDX, id, value, minValue, maxValue);
}

void DDV_MinMaxDouble(CDataExchange* pDX, unsigned id, double value, double minValue,
                      double maxValue)
{
    CheckRange(pDX, id, value, minValue, maxValue);
}

void DDV_MaxChars(CDataExchange* pDX, unsigned id, const std::string& value, int count)
{
    if (!pDX->m_bSaveAndValidate || pDX->Failed())
        return;
    if (static_cast<int>(value.size()) > count)
        pDX->Fail(id, FormatText(LoadResString(IDS_PARSE_STRING_SIZE), std::to_string(count)));
}
