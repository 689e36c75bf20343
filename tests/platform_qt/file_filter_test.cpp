// The file chooser's filter in Qt's form, and the folder it starts in.
#include "platform/qt/qt_host.h"
#include "support/test_paths.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(QtFileFilter, PairsBecomeQtFiltersInEveryCase)
{
    EXPECT_EQ(QtFileFilter("All File|*.*|").toStdString(), "All File (*.*)");
    EXPECT_EQ(QtFileFilter("Drill|*.*|PROTEL   *.TXT|*.TXT|HPGL  *.PLT|*.plt;*.hpg|").toStdString(),
              "Drill (*.*);;PROTEL   *.TXT (*.TXT *.txt);;HPGL  *.PLT (*.plt *.PLT *.hpg *.HPG)");
    EXPECT_EQ(QtFileFilter("").toStdString(), "");
}

TEST(QtFileChooser, StartsInTheFolderLastChosenUnlessThePathNamesOne)
{
    const QString dir = QString::fromStdString(TestDir());
    const QString last = dir + "/last";
    QDir().mkpath(last);
    struct Case {
        const char* what;
        std::string initial;
        QString lastFolder;
        QString folder, name;
    } cases[] = {
        {"nothing chosen yet, no path", "", "", QDir::homePath(), ""},
        {"nothing chosen yet, a pattern", "*.prj", "", QDir::homePath(), ""},
        {"a pattern", "*.prj", last, last, ""},
        {"a bare name", "job.prj", last, last, "job.prj"},
        {"a path in a folder", TestDir() + "/job.prj", last, dir, "job.prj"},
        {"a pattern in a folder", TestDir() + "/*.dxf", last, dir, ""},
        {"a folder", TestDir(), last, dir, ""},
        {"a path in a folder that is gone", TestDir() + "/gone/job.prj", last, last, "job.prj"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CChooserStart start = ChooserStart(c.initial, c.lastFolder);
        EXPECT_EQ(start.folder.toStdString(), c.folder.toStdString());
        EXPECT_EQ(start.name.toStdString(), c.name.toStdString());
    }
}
