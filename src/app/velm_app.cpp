// Start-up and shut-down of the program: language, command line, frame.
#include "app/velm_app.h"

#include "app/main_frame.h"
#include "app/splash_wnd.h"
#include "document/velm_doc.h"
#include "machining/position_dlg.h"
#include "platform/host.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/language.h"
#include "settings/registry.h"
#include "ui/dialog.h"
#include "ui/qt/dialog_window.h"

#include <QApplication>
#include <QEvent>

#include <algorithm>

CVelmApp theApp;

namespace {

// The command line's no-splash switch, in the spellings people type.
bool IsNoSplashSwitch(const std::string& arg)
{
    std::string a = arg;
    std::transform(a.begin(), a.end(), a.begin(), [](unsigned char c) { return std::tolower(c); });
    return a == "/nologo" || a == "-nologo" || a == "--nologo" || a == "--no-splash";
}

class CAboutDlg : public CDialog {
public:
    CAboutDlg() : CDialog(IDD_ABOUTBOX) {}
};

}  // namespace

CVelmApp::CVelmApp()
{
    // The router must outlive the application object, whose table detaches
    // from it at exit: made first, it is destroyed last.
    CommandRouter();
    m_Commands.OnCommand(ID_APP_ABOUT, [this] { OnAppAbout(); });
}

CVelmApp::~CVelmApp() = default;

bool CVelmApp::LoadLanguage()
{
    std::string library;
    if (!LoadConfiguredLanguage(library)) {
        AfxMessageBox("Can't load " + library, MB_OK);
        return false;
    }
    m_LanguageLoaded = ::LanguageLibraryLoaded();
    return true;
}

bool CVelmApp::InitInstance(const std::vector<std::string>& args, bool show)
{
    if (!LoadLanguage())
        return false;
    bool splash = true;
    m_DocumentName.clear();
    for (const std::string& arg : args) {
        if (IsNoSplashSwitch(arg))
            splash = false;
        else if (!arg.empty() && arg[0] != '-')  // a path may start with '/'
            m_DocumentName = arg;
    }
    CSplashWnd::EnableSplashScreen(splash);
    CommandRouter().Attach(CommandLevel::Application, &m_Commands);
    CommandRouter().SetWorkScope(BeginRegistryBatch, EndRegistryBatch);

    // The one document: its construction loads the program options (the
    // system folder becomes the current folder) and the model defaults.
    m_Document = std::make_unique<CVelmDoc>();
    CommandRouter().Attach(CommandLevel::Document, &m_Document->m_Commands);
    // A file named on the command line is only the document's name: projects
    // are read by File/Open alone.
    if (!m_DocumentName.empty())
        AddToRecentFileList(m_DocumentName);

    m_Frame = std::make_unique<CMainFrame>();
    m_Frame->setWindowTitle(QString::fromStdString(Title()));
    m_Document->m_ViewHooks.titleChanged = [this] {
        if (m_Frame)
            m_Frame->setWindowTitle(QString::fromStdString(Title()));
    };
    if (!m_Frame->OnCreate(show)) {
        m_Frame.reset();
        return false;
    }
    if (qApp && !m_Filtering) {
        qApp->installEventFilter(this);
        m_Filtering = true;
    }
    return true;
}

int CVelmApp::ExitInstance()
{
    if (qApp && m_Filtering)
        qApp->removeEventFilter(this);
    m_Filtering = false;
    if (m_Document)
        m_Document->m_ViewHooks.titleChanged = nullptr;
    m_Frame.reset();
    // Closing the frame ends the document: the options are stored, the open
    // text windows closed and every record freed.
    m_Document.reset();
    CommandRouter().SetWorkScope(nullptr, nullptr);
    CommandRouter().Detach(&m_Commands);
    // Every window made from the library's resources is gone by now.
    FreeLanguageLibrary();
    m_LanguageLoaded = false;
    return 0;
}

std::string CVelmApp::Title() const
{
    std::string document = LoadResString(IDS_DOCUMENT);
    std::string program = document.substr(0, document.find('\n'));
    // The document's title once a job named it (a Gerber file's path), else
    // the name given on the command line; the caption shows its file name.
    std::string name = m_Document && !m_Document->GetTitle().empty() ? m_Document->GetTitle()
                                                                    : m_DocumentName;
    // Of a list of files (a side read from several), the first names it.
    name = name.substr(0, name.find(';'));
    std::size_t slash = name.find_last_of('/');
    if (slash != std::string::npos)
        name = name.substr(slash + 1);
    if (name.empty())
        name = LoadResString(IDS_UNTITLED);
    return program.empty() ? name : name + " - " + program;
}

void CVelmApp::OnAppAbout()
{
    CAboutDlg about;
    about.DoModal();
}

void CVelmApp::AddToRecentFileList(const std::string& path)
{
    m_RecentFiles.erase(std::remove(m_RecentFiles.begin(), m_RecentFiles.end(), path),
                        m_RecentFiles.end());
    m_RecentFiles.insert(m_RecentFiles.begin(), path);
    if (m_RecentFiles.size() > RECENT_FILE_COUNT)
        m_RecentFiles.resize(RECENT_FILE_COUNT);
}

bool CVelmApp::eventFilter(QObject* watched, QEvent* event)
{
    // Never swallowed: a press that hides the splash still reaches its target.
    CSplashWnd::PreTranslateAppMessage(event);
    // The operator dragged the position window: the view's next paint skips
    // the board.
    if (event->type() == QEvent::Move && event->spontaneous())
        if (auto* window = qobject_cast<CQtDialogWindow*>(watched))
            if (window->isVisible() && window->Dialog() == &g_PositionDlg)
                g_PositionDlg.OnMoved();
    return QObject::eventFilter(watched, event);
}
