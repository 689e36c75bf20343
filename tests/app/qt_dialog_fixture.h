// What the tests of dialog windows on screen share: the Qt host installed
// for the test, a script run on the open modal window, and its controls'
// widgets by id.
#pragma once

#include "app/qt_test_app.h"
#include "platform/qt/qt_host.h"
#include "support/scripted_host.h"
#include "ui/qt/dialog_window.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

class QtDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        TestQtApp();
        SetHost(&m_Host);
    }
    void TearDown() override { SetHost(&TestHost()); }
    CQtHost m_Host;
};

// Runs `script` on the open dialog window once the modal loop runs.
inline void WhenShown(std::function<void(CQtDialogWindow&)> script)
{
    QTimer::singleShot(0, [script] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* window = qobject_cast<CQtDialogWindow*>(w); window && window->isVisible()) {
                script(*window);
                return;
            }
        ADD_FAILURE() << "no dialog window";
    });
}

template <class W>
W* Widget(CQtDialogWindow& window, unsigned id)
{
    W* w = qobject_cast<W*>(window.ControlWidget(id));
    EXPECT_NE(w, nullptr) << id;
    return w;
}
