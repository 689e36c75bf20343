// The machining-data and CAM upload dialogs on screen, as the program
// renders their templates: the layer combo lists the names sorted with the
// remembered one selected, the operator's pick comes back as the chosen
// layer, and a number that does not parse keeps the window open. With
// ORDUNE_SHOT_DIR set each window is saved as a picture.
#include "app/qt_test_app.h"
#include "exchange/cam_upload_dlg.h"
#include "exchange/machining_data_dlg.h"
#include "platform/qt/qt_host.h"
#include "resource_ids.h"
#include "support/scripted_host.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

template <class Widget>
Widget* Control(QWidget* window, unsigned id)
{
    return window ? window->findChild<Widget*>(QStringLiteral("control%1").arg(id)) : nullptr;
}

QWidget* ShownDialog(unsigned id)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->objectName() == QStringLiteral("dialog%1").arg(id))
            return w;
    return nullptr;
}

void SaveShot(QWidget* window, const char* name)
{
    if (const char* dir = std::getenv("ORDUNE_SHOT_DIR"))
        window->grab().save(QString("%1/%2.png").arg(dir, name));
}

// Runs `act` on the dialog's window once it is shown.
void WhenShown(unsigned id, std::function<void(QWidget*)> act)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, id, act] {
        if (QWidget* window = ShownDialog(id)) {
            poll->stop();
            poll->deleteLater();
            act(window);
        }
    });
    poll->start(10);
}

class CamDialogsOnScreen : public testing::Test {
protected:
    void SetUp() override
    {
        TestQtApp();
        SetHost(&m_Host);
    }
    void TearDown() override { SetHost(&TestHost()); }

    CQtHost m_Host;
};

}  // namespace

TEST_F(CamDialogsOnScreen, MachiningDataComboPicksTheLayer)
{
    CMachiningDataDlg dlg;
    dlg.m_strLayerList = "TOP;CRAVE;BOT;";
    dlg.m_nLayerIndex = 2;
    dlg.m_fDepth = 0.1f;
    QStringList entries;
    int shownIndex = -1;
    WhenShown(IDD_MACHINING_DATA, [&](QWidget* window) {
        auto* combo = Control<QComboBox>(window, IDC_MD_LAYER);
        ASSERT_NE(combo, nullptr);
        for (int i = 0; i < combo->count(); ++i)
            entries << combo->itemText(i);
        shownIndex = combo->currentIndex();
        SaveShot(window, "machining_data");
        combo->setCurrentIndex(0);
        emit combo->activated(0);
        Control<QPushButton>(window, IDOK)->click();
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
    WhenShown(IDD_CAM_UPLOAD, [&](QWidget* window) {
        SaveShot(window, "cam_upload");
        auto* lift = Control<QLineEdit>(window, IDC_CU_LIFT_HEIGHT);
        ASSERT_NE(lift, nullptr);
        lift->setText("1,5 mm");
        emit lift->textEdited(lift->text());
        // The refusal's message box is answered by the host's own window;
        // close it as the operator would, then look at the dialog.
        QTimer::singleShot(50, [&, window] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w != window && w->isVisible() && qobject_cast<QDialog*>(w))
                    qobject_cast<QDialog*>(w)->accept();
        });
        Control<QPushButton>(window, IDOK)->click();
        openAfterOk = window->isVisible();
        Control<QPushButton>(window, IDCANCEL)->click();
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(openAfterOk);
    EXPECT_EQ(dlg.m_strLayer, "A");
}
