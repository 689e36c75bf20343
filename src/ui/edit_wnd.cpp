// The text window's logic: making it once, reading a file into its store,
// saving the store, and asking to save a changed text when it closes.
#include "ui/edit_wnd.h"

#include "platform/binary_io.h"
#include "platform/host.h"
#include "platform/line_reader.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "resource_ids.h"

#include <cstdarg>

namespace {

constexpr const char* kAllFilesFilter = "All File|*.*|";
// Lines arrive in pieces of this many characters, as a 100-byte line buffer
// takes them.
constexpr std::size_t kReadPiece = 99;
constexpr std::size_t kCaptionMax = 99;

}  // namespace

CEditWnd::CEditWnd() : CDialog(IDD_EDIT_WND) { RegisterHandlers(); }

CEditWnd::CEditWnd(const CEditWnd& other)
    : CDialog(other),
      m_Created(other.m_Created),
      m_Loaded(other.m_Loaded),
      m_FilePath(other.m_FilePath),
      m_OriginX(other.m_OriginX),
      m_OriginY(other.m_OriginY),
      m_HeaderEndLine(other.m_HeaderEndLine),
      m_Edit(other.m_Edit)
{
    RegisterHandlers();
}

CEditWnd& CEditWnd::operator=(const CEditWnd& other)
{
    if (this != &other) {
        CDialog::operator=(other);
        m_Created = other.m_Created;
        m_Loaded = other.m_Loaded;
        m_FilePath = other.m_FilePath;
        m_OriginX = other.m_OriginX;
        m_OriginY = other.m_OriginY;
        m_HeaderEndLine = other.m_HeaderEndLine;
        m_Edit = other.m_Edit;
    }
    return *this;
}

void CEditWnd::RegisterHandlers()
{
    // Each button first takes what was typed, as a click takes the focus.
    OnCommand(IDC_EDIT_READ, [this] { TakeTypedText(); OnRead(); });
    OnCommand(IDC_EDIT_SAVE, [this] { TakeTypedText(); OnSave(); });
    OnCommand(ID_EDIT_UNDO, [this] { TakeTypedText(); OnUndo(); });
    OnCommand(IDC_EDIT_CLOSE, [this] { TakeTypedText(); OnCloseButton(); });
    OnFocusLost(IDC_EDIT_TEXT, [this] { TakeTypedText(); });
    m_Edit.SetChangeHandler([this] { ShowText(); });
}

namespace {

// The store keeps "\r\n" line ends, the edit control plain line feeds.
std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

}  // namespace

bool CEditWnd::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowText();
    return true;
}

void CEditWnd::ShowWindow(bool show)
{
    if (!show)
        TakeTypedText();
    CDialog::ShowWindow(show);
    ShowText();
}

void CEditWnd::ShowText()
{
    // A hidden window is brought up to date when it is shown, so long texts
    // written line by line are not copied into it line by line.
    if (!IsVisible() || m_TakingTypedText)
        return;
    SetDlgItemText(IDC_EDIT_TEXT, Replaced(m_Edit.GetText(), "\r\n", "\n"));
}

void CEditWnd::TakeTypedText()
{
    if (!IsVisible())
        return;
    const CControlState* control = FindControl(IDC_EDIT_TEXT);
    if (!control)
        return;
    std::string typed = Replaced(Replaced(control->text, "\r\n", "\n"), "\n", "\r\n");
    if (typed == m_Edit.GetText())
        return;
    m_TakingTypedText = true;
    m_Edit.SetTextByUser(typed);
    m_TakingTypedText = false;
}

int CEditWnd::CreateOnce(const std::string& caption)
{
    if (m_Created || IsWindow())
        return 0;
    bool made = CreateModeless();
    // The window takes its caption once it exists; making it starts from
    // the template's.
    SetWindowText(caption);
    m_Created = 1;
    return made ? 1 : 0;
}

void CEditWnd::Print(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = VFormat(format, args);
    va_end(args);
    // Written as it stands: a '%' in the result is no format.
    m_Edit.WriteLine(text);
}

void CEditWnd::OnRead()
{
    std::vector<std::string> chosen;
    if (!Host().GetOpenFileName(kAllFilesFilter, m_FilePath, false, chosen) || chosen.empty()) {
        g_StatusText = LoadResString(IDS_CANCELLED);
        return;
    }
    if (!ReadFile(chosen.front()))
        g_StatusText = LoadResString(IDS_FILE_OPEN_ERROR);
}

bool CEditWnd::ReadFile(const std::string& path)
{
    CTextLineReader reader;
    if (!reader.Open(path))
        return false;
    m_FilePath = path;
    std::string line;
    while (reader.ReadLine(line))
        for (const std::string& piece : SplitLinePieces(line, kReadPiece))
            m_Edit.WriteLine(piece);
    reader.Close();
    m_Edit.SetModify(false);
    m_Loaded = 1;
    return true;
}

std::string CEditWnd::FileText()
{
    // Every line whole: a long line typed into the window must not be cut.
    std::string text;
    m_Edit.SetLineCursor(0);
    std::string line;
    while (m_Edit.GetNextLine(line)) {
        // 0x80 marks a line for the program; the file does not keep the mark.
        if (!line.empty() && static_cast<unsigned char>(line[0]) == 0x80)
            line.erase(0, 1);
        text += line;
        text += '\n';
    }
    return text;
}

void CEditWnd::OnSave()
{
    std::string path;
    if (!Host().GetSaveFileName(kAllFilesFilter, m_FilePath, path)) {
        g_StatusText = LoadResString(IDS_CANCELLED);
        return;
    }
    const std::string text = FileText();
    if (!WriteFileAtomically(path, text.data(), text.size())) {
        g_StatusText = LoadResString(IDS_FILE_WRITE_ERROR);
        return;
    }
    m_FilePath = path;
    m_Edit.SetModify(false);
}

void CEditWnd::AskToSave()
{
    if (!m_Edit.GetModify())
        return;
    std::string caption = Caption().substr(0, kCaptionMax);
    if (Host().MessageBox(LoadResString(IDS_SAVE_CHANGES), caption, MB_YESNO) == IDYES)
        OnSave();
}

void CEditWnd::SaveModified()
{
    if (!m_Created)
        return;
    AskToSave();
    m_Created = 0;
    m_Loaded = 0;
    DestroyWindow();
}

void CEditWnd::OnCloseButton()
{
    AskToSave();
    m_Created = 0;
    DestroyWindow();
}
