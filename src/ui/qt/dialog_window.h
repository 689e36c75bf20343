// The one window that shows any dialog: it lays out the dialog's template
// (controls by id at their dialog-unit places), keeps the widgets and the
// dialog's control states in step both ways, and sends buttons, Enter,
// Escape and the close box to the dialog as commands.
#pragma once

#include "ui/dialog.h"
#include "ui/dialog_template.h"

#include <QDialog>
#include <map>
#include <set>

class QWidget;

class CQtDialogWindow : public QDialog, public CDialogView {
    Q_OBJECT
public:
    // A modal window lives on its runner's stack and ends its exec loop; a
    // modeless one is on the heap and deletes itself when the dialog goes.
    CQtDialogWindow(CDialog& dialog, const CDialogTemplate& tmpl, QWidget* parent, bool modal);
    ~CQtDialogWindow() override;

    // The widget of control `id`, or nullptr.
    QWidget* ControlWidget(unsigned id) const;
    CDialog* Dialog() const { return m_Dialog; }

    // CDialogView
    void ControlChanged(unsigned id) override;
    void DialogShown(bool shown) override;
    void CaptionChanged() override;
    void DialogEnded() override;
    void WindowMoved() override;

    // Enter and Escape become the dialog's OK and Cancel commands.
    void accept() override;
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Placed {
        QWidget* widget;
        OrduneDialogItem item;
    };
    CDialog* m_Dialog;
    CDialogTemplate m_Template;
    std::map<unsigned, QWidget*> m_Widgets;
    std::vector<Placed> m_Placed;
    QSize m_BaseSize;
    QPoint m_PlacedAt;
    bool m_Modal;
    int m_Updating = 0;  // widgets being set from the states: no echo back
    // Controls changed while the window was hidden: a hidden text window can
    // take thousands of lines, so its widgets follow only when it is shown.
    std::set<unsigned> m_Stale;

    void Build();
    QRect UnitsToPixels(int x, int y, int cx, int cy) const;
    void Refresh(unsigned id, QWidget* widget);
    void Store(unsigned id);
};
