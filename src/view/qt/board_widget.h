// The board window: holds the view and its backing image, forwards mouse and
// key input to the view, and paints by copying the image. The view redraws
// the image outside the paint handler, from a queued request, so its
// message pumping never runs inside a paint.
#pragma once

#include "view/qt/image_surface.h"
#include "view/view_window.h"

#include <QWidget>
#include <memory>

class CVelmDoc;
class CVelmView;

class CBoardWidget : public QWidget, public CViewWindow {
    Q_OBJECT
public:
    // Without a document the window only shows the black board area.
    explicit CBoardWidget(CVelmDoc* doc, QWidget* parent = nullptr);
    ~CBoardWidget() override;

    CVelmView* View() const { return m_View.get(); }
    const QImage& Image() const { return m_Surface.Image(); }

    CDrawSurface& Surface() override { return m_Surface; }
    RECT ClientRect() const override;
    void RequestRedraw() override;
    void SurfaceChanged() override { update(); }
    void ShowPopupMenu(const CMenuNode& menu, POINT client) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // Tab is one of the view's held keys, not a move of the focus.
    bool focusNextPrevChild(bool) override { return false; }

private:
    CQtImageSurface m_Surface;
    std::unique_ptr<CVelmView> m_View;
    bool m_RedrawQueued = false;
    bool m_Initialised = false;

    // The cursor the view's mode asks for.
    void UpdateCursor();
};
