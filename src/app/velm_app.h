// The application object: chooses the language, starts the frame and keeps
// the recent-file list; at the end it frees the language library.
#pragma once

#include "ui/command_router.h"

#include <QObject>
#include <memory>
#include <string>
#include <vector>

class CMainFrame;

constexpr int RECENT_FILE_COUNT = 4;

class CVelmDoc;

class CVelmApp : public QObject {
    Q_OBJECT
public:
    CVelmApp();
    ~CVelmApp() override;

    // Start-up; false ends the program at once. `args` are the command line's
    // arguments after the program name. `show` false keeps the frame hidden
    // (tests).
    bool InitInstance(const std::vector<std::string>& args, bool show = true);
    int ExitInstance();

    // The language step of the start: reads "Language" (writing "ENGLISH"
    // back when empty) and, unless it is "CHINESE", loads "<value>.DLL".
    // False after telling the operator that the library cannot be loaded.
    bool LoadLanguage();

    void OnAppAbout();
    void AddToRecentFileList(const std::string& path);
    const std::vector<std::string>& RecentFiles() const { return m_RecentFiles; }

    CMainFrame* MainFrame() const { return m_Frame.get(); }
    CVelmDoc* Document() const { return m_Document.get(); }
    bool LanguageLibraryLoaded() const { return m_LanguageLoaded; }
    // The frame's title: the document's name and the program's.
    std::string Title() const;

protected:
    // Every event of the program passes here before its target.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CCommandTable m_Commands;
    std::unique_ptr<CVelmDoc> m_Document;
    std::unique_ptr<CMainFrame> m_Frame;
    std::vector<std::string> m_RecentFiles;
    std::string m_DocumentName;
    bool m_LanguageLoaded = false;
    bool m_Filtering = false;
};

extern CVelmApp theApp;
