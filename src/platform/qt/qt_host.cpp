// Qt implementation of the host services.
#include "platform/qt/qt_host.h"

#include "platform/font_choice.h"
#include "ui/dialog.h"
#include "ui/dialog_template.h"
#include "ui/qt/dialog_window.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontMetrics>
#include <QMessageBox>
#include <QThread>
#include <QTimer>

namespace {

QElapsedTimer& Clock()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return clock;
}

QMessageBox::Icon IconFor(unsigned type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONSTOP: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

}  // namespace

CChooserStart ChooserStart(const std::string& initialPath, const QString& lastFolder)
{
    const QString last = lastFolder.isEmpty() ? QDir::homePath() : lastFolder;
    const QString path = QString::fromStdString(initialPath);
    const QFileInfo info(path);
    if (path.isEmpty())
        return {last, {}};
    if (info.isAbsolute() && info.isDir())
        return {info.absoluteFilePath(), {}};
    const QString name = info.fileName().contains('*') ? QString() : info.fileName();
    if (info.isAbsolute() && info.dir().exists())
        return {info.absolutePath(), name};
    return {last, name};
}

QString QtFileFilter(const std::string& filter)
{
    QStringList parts = QString::fromStdString(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
            QString pattern = p.trimmed();
            for (const QString& variant : {pattern, pattern.toLower(), pattern.toUpper()})
                if (!patterns.contains(variant))
                    patterns << variant;
        }
        filters << parts[i] + " (" + patterns.join(' ') + ")";
    }
    return filters.join(";;");
}

CQtHost::CQtHost() { Clock(); }

CQtHost::~CQtHost()
{
    for (auto& [id, timer] : m_Timers)
        delete timer;
}

int CQtHost::MessageBox(const std::string& text, const std::string& caption, unsigned type)
{
    QMessageBox box(IconFor(type), QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::NoButton, m_MainWindow);
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MB_YESNO:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MB_YESNOCANCEL:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    case QMessageBox::Cancel: return IDCANCEL;
    case QMessageBox::Ok: return IDOK;
    default:
        // Closed without a button: the box's cancel answer.
        return (type & MB_TYPEMASK) == MB_OK ? IDOK
               : (type & MB_TYPEMASK) == MB_YESNO ? IDNO
                                                   : IDCANCEL;
    }
}

void CQtHost::Beep(unsigned, unsigned) { QApplication::beep(); }

void CQtHost::MessageBeep(unsigned) { QApplication::beep(); }

void CQtHost::BeginWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void CQtHost::EndWaitCursor()
{
    if (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void CQtHost::SetStatusText(const std::string& text)
{
    if (m_StatusSink)
        m_StatusSink(text);
}

void CQtHost::PumpMessages() { QApplication::processEvents(QEventLoop::AllEvents); }

void CQtHost::Sleep(unsigned milliseconds) { QThread::msleep(milliseconds); }

std::uint32_t CQtHost::GetTickCount() { return static_cast<std::uint32_t>(Clock().elapsed()); }

unsigned CQtHost::SetTimer(unsigned id, unsigned milliseconds, std::function<void()> callback)
{
    KillTimer(id);
    auto* timer = new QTimer(this);
    timer->setInterval(static_cast<int>(milliseconds));
    connect(timer, &QTimer::timeout, this, [cb = std::move(callback)] { cb(); });
    timer->start();
    m_Timers[id] = timer;
    return id;
}

void CQtHost::KillTimer(unsigned id)
{
    auto it = m_Timers.find(id);
    if (it == m_Timers.end())
        return;
    // A timer's own handler may kill it (the view's tick stops its timer
    // first): deleting the timer there would free the handler that runs.
    it->second->stop();
    it->second->deleteLater();
    m_Timers.erase(it);
}

namespace {

// A dialog whose template is missing cannot be shown: say so instead of
// acting on input nobody gave.
bool TemplateFor(CDialog& dialog, CDialogTemplate& tmpl)
{
    if (LoadDialogTemplate(dialog.TemplateId(), tmpl))
        return true;
    AfxMessageBox("The window " + std::to_string(dialog.TemplateId()) +
                      " is missing from the program's resources.",
                  MB_OK | MB_ICONSTOP);
    return false;
}

}  // namespace

void CQtHost::RunModalDialog(CDialog& dialog)
{
    CDialogTemplate tmpl;
    if (!TemplateFor(dialog, tmpl)) {
        CancelDialog(dialog);
        return;
    }
    CQtDialogWindow window(dialog, tmpl, m_MainWindow, true);
    dialog.SetView(&window);
    dialog.OnInitDialog();
    if (dialog.IsWindow())
        window.exec();
    if (dialog.View() == &window)
        dialog.SetView(nullptr);
}

bool CQtHost::CreateModelessDialog(CDialog& dialog)
{
    CDialogTemplate tmpl;
    if (!TemplateFor(dialog, tmpl))
        return false;
    // Owned by the main window, so it never outlives it; a separate window all
    // the same, which stays usable while the main window's input is off.
    auto* window = new CQtDialogWindow(dialog, tmpl, m_MainWindow, false);
    dialog.SetView(window);
    dialog.OnInitDialog();
    return true;
}

void CQtHost::StartAt(QFileDialog& dialog, const std::string& initialPath) const
{
    const CChooserStart start = ChooserStart(initialPath, m_LastFolder);
    dialog.setDirectory(start.folder);
    if (!start.name.isEmpty())
        dialog.selectFile(start.name);
}

void CQtHost::Chosen(const QStringList& files)
{
    if (!files.isEmpty())
        m_LastFolder = QFileInfo(files.front()).absolutePath();
}

bool CQtHost::GetOpenFileName(const std::string& filter, const std::string& initialPath,
                              bool multiple, std::vector<std::string>& paths)
{
    paths.clear();
    QFileDialog dialog(m_MainWindow);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog.setNameFilter(QtFileFilter(filter));
    StartAt(dialog, initialPath);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    Chosen(dialog.selectedFiles());
    for (const QString& file : dialog.selectedFiles())
        paths.push_back(file.toStdString());
    return !paths.empty();
}

bool CQtHost::GetSaveFileName(const std::string& filter, const std::string& initialPath,
                              std::string& path)
{
    QFileDialog dialog(m_MainWindow);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QtFileFilter(filter));
    StartAt(dialog, initialPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    Chosen(dialog.selectedFiles());
    path = dialog.selectedFiles().front().toStdString();
    return true;
}

bool CQtHost::IsMainWindowEnabled() { return m_MainWindow && !m_InputDisabled; }

void CQtHost::EnableMainWindow(bool enable)
{
    if (!m_MainWindow)
        return;
    m_InputDisabled = !enable;
    // Only the main window's own parts: its dialog windows are children too.
    for (QWidget* child : m_MainWindow->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (!child->isWindow())
            child->setEnabled(enable);
}

bool CQtHost::ChooseFont(CFontChoice& font)
{
    QFont start(QString::fromStdString(font.face));
    if (font.height > 0)
        start.setPixelSize(font.height);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, start, m_MainWindow);
    if (!ok)
        return false;
    font.face = chosen.family().toStdString();
    font.height = chosen.pixelSize() > 0 ? chosen.pixelSize()
                                         : QFontMetrics(chosen).height();
    font.weight = static_cast<int>(chosen.weight());
    font.italic = chosen.italic();
    font.underline = chosen.underline();
    font.strikeOut = chosen.strikeOut();
    return true;
}
