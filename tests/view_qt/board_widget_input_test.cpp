// The board window's input: Qt's mouse and key events reach the view's
// handlers as the view's messages (key flags, client points, virtual keys),
// and the view's feedback lands on the window's picture.
#include "platform/program_state.h"
#include "platform/win_types.h"
#include "records/board_extent.h"
#include "resource_ids.h"
#include "support/record_makers.h"
#include "view/qt/board_widget.h"
#include "ui/qt/key_codes.h"
#include "view/velm_view.h"

#include "../app/qt_test_app.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include <memory>

namespace {

class WidgetInputTest : public testing::Test {
protected:
    void SetUp() override
    {
        TestQtApp();
        doc = std::make_unique<CVelmDoc>();
        doc->m_WorkStage = 1;
        g_BoardMinX = g_BoardMinY = 0;
        g_BoardMaxX = 400;
        g_BoardMaxY = 300;
        widget = std::make_unique<CBoardWidget>(doc.get());
        widget->resize(400, 300);
        widget->show();
        QCoreApplication::processEvents();
        view = widget->View();
        view->m_Scale = 1.0f;
        view->m_Origin = CDPoint(0, 0);
    }
    void TearDown() override
    {
        widget.reset();
        doc.reset();
    }
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, held, mods);
        QCoreApplication::sendEvent(widget.get(), &event);
    }
    void Key(QEvent::Type type, int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QKeyEvent event(type, key, mods);
        QCoreApplication::sendEvent(widget.get(), &event);
    }

    std::unique_ptr<CVelmDoc> doc;
    std::unique_ptr<CBoardWidget> widget;
    CVelmView* view = nullptr;
};

}  // namespace

TEST(KeyCodes, QtKeysBecomeTheViewsVirtualKeys)
{
    struct Case {
        int qt;
        bool keypad;
        unsigned vk;
    } cases[] = {
        {Qt::Key_Plus, true, VK_ADD},         {Qt::Key_Plus, false, VK_OEM_PLUS},
        {Qt::Key_Equal, false, VK_OEM_PLUS},  {Qt::Key_Minus, true, VK_SUBTRACT},
        {Qt::Key_Minus, false, VK_OEM_MINUS}, {Qt::Key_3, false, '3'},
        {Qt::Key_3, true, 0x63},              {Qt::Key_R, false, 'R'},
        {Qt::Key_F11, false, VK_F1 + 10},     {Qt::Key_Escape, false, VK_ESCAPE},
        {Qt::Key_Insert, true, VK_INSERT},    {Qt::Key_Tab, false, VK_TAB},
        {Qt::Key_Control, false, VK_CONTROL}, {Qt::Key_PageUp, false, VK_PRIOR},
        {Qt::Key_Menu, false, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VirtualKeyOf(c.qt, c.keypad), c.vk) << c.qt;
}

TEST_F(WidgetInputTest, ADragWithNoModeArmedPansTheBoard)
{
    Mouse(QEvent::MouseButtonPress, QPoint(100, 100), Qt::LeftButton, Qt::LeftButton);
    ASSERT_EQ(view->m_PanMode, 1);
    Mouse(QEvent::MouseMove, QPoint(140, 130), Qt::NoButton, Qt::LeftButton);
    // The drag line is on the picture while the button is held.
    const QImage& image = widget->Image();
    EXPECT_NE(image.pixel(120, 115), image.pixel(300, 50));
    Mouse(QEvent::MouseButtonRelease, QPoint(140, 130), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(view->m_PanMode, 0);
    EXPECT_EQ(view->m_Origin.x, 40.0);
    EXPECT_EQ(view->m_Origin.y, 30.0);
}

TEST_F(WidgetInputTest, HeldKeysAndTheirReleaseReachTheView)
{
    Key(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
    EXPECT_EQ(view->m_KeyCtrl, 1);
    Key(QEvent::KeyRelease, Qt::Key_Control);
    EXPECT_EQ(view->m_KeyCtrl, 0);
    // Tab stays in the board window as a held key.
    Key(QEvent::KeyPress, Qt::Key_Tab);
    EXPECT_EQ(view->m_KeyTab, 1);
    // Shift held on the press comes with the click.
    view->m_RulerActive = 1;
    view->m_RulerA = CDPoint(10, 10);
    view->m_RulerB = CDPoint(50, 10);
    Mouse(QEvent::MouseButtonPress, QPoint(50, 12), Qt::LeftButton, Qt::LeftButton,
          Qt::ShiftModifier);
    EXPECT_EQ(view->m_PressState, 2);
    Mouse(QEvent::MouseMove, QPoint(90, 12), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(view->m_RulerB.x, 90.0);
    Mouse(QEvent::MouseButtonRelease, QPoint(90, 12), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(view->m_PressState, 0);
}

TEST_F(WidgetInputTest, TheCursorFollowsTheMode)
{
    view->OnZoomWindow();
    Mouse(QEvent::MouseMove, QPoint(20, 20), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(widget->cursor().shape(), Qt::CrossCursor);
    view->m_ZoomWindowMode = 0;
    view->m_TextMode = 1;
    Mouse(QEvent::MouseMove, QPoint(21, 20), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(widget->cursor().shape(), Qt::IBeamCursor);
}
