// The machining-data and CAM upload dialogs on screen, as the program
// renders their templates: the layer combo lists the names sorted with the
// remembered one selected, the operator's pick comes back as the chosen
// layer, and a number that does not parse keeps the window open. With
// ORDUNE_SHOT_DIR set each window is saved as a picture.
#include "app/qt_dialog_fixture.h"
#include "exchange/cam_upload_dlg.h"
#include "exchange/machining_data_dlg.h"
#include "resource_ids.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

#include <cstdlib>

namespace {

void SaveShot(QWidget& window, const char* name)
{
    if (const char* dir = std::getenv("ORDUNE_SHOT_DIR"))
        window.grab().save(QString("%1/%2.png").arg(dir, name));
}

using CamDialogsOnScreen = QtDialogTest;

}  // namespace

TEST_F(CamDialogsOnScreen, MachiningDataComboPicksTheLayer)
{
    CMachiningDataDlg dlg;
    dlg.m_strLayerList = "TOP;CRAVE;BOT;";
    dlg.m_nLayerIndex = 2;
    dlg.m_fDepth = 0.1f;
    QStringList entries;
    int shownIndex = -1;
    WhenShown([&](CQtDialogWindow& window) {
        auto* combo = Widget<QComboBox>(window, IDC_MD_LAYER);
        ASSERT_NE(combo, nullptr);
        for (int i = 0; i < combo->count(); ++i)
            entries << combo->itemText(i);
        shownIndex = combo->currentIndex();
        SaveShot(window, "machining_data");
        combo->setCurrentIndex(0);
        emit combo->activated(0);
        Widget<QPushButton>(window, IDOK)->click();
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(entries, (QStringList{"BOT", "CRAVE", "TOP"}));
    EXPECT_EQ(shownIndex, 2);
    EXPECT_EQ(dlg.m_strLayer, "BOT");
    EXPECT_EQ(dlg.m_nLayerIndex, 0);
    EXPECT_FLOAT_EQ(dlg.m_fDepth, 0.1f);
}

TEST_F(CamDialogsOnScreen, UploadWindowStaysOpenOnABadNumber)
{
    CCamUploadDlg dlg;
    dlg.m_strLayerList = "B;A;";
    bool openAfterOk = false;
    WhenShown([&](CQtDialogWindow& window) {
        SaveShot(window, "cam_upload");
        auto* lift = Widget<QLineEdit>(window, IDC_CU_LIFT_HEIGHT);
        ASSERT_NE(lift, nullptr);
        lift->setText("1,5 mm");
        emit lift->textEdited(lift->text());
        // The refusal's message box is answered by the host's own window;
        // close it as the operator would, then look at the dialog.
        QTimer::singleShot(50, [&window] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w != &window && w->isVisible() && qobject_cast<QDialog*>(w))
                    qobject_cast<QDialog*>(w)->accept();
        });
        Widget<QPushButton>(window, IDOK)->click();
        openAfterOk = window.isVisible();
        Widget<QPushButton>(window, IDCANCEL)->click();
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(openAfterOk);
    EXPECT_EQ(dlg.m_strLayer, "A");
}
