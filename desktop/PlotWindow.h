// The plot window FormPlot: shows the last drawing of the plot canvas and repaints it at any size
// and pixel ratio. Beyond the drawing itself it offers a view-only zoom (rubber band, wheel), pan
// (Shift or middle-button drag) with an axis overlay while zoomed, the cursor's E and I, and a
// context menu. None of these change the drawing or the plot globals.
#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>

#include "platform/Canvas.h"
#include "platform/PlotView.h"

class QRubberBand;

namespace zemra {

class PlotWindow : public QWidget {
    Q_OBJECT
  public:
    explicit PlotWindow(const PictureCanvas& picture, QWidget* parent = nullptr);

    // The picture may have changed: repaint when it has.
    void PictureChanged();
    const PlotView& View() const { return view_; }
    void ResetZoom();
    // A redraw after a resize: again later (the program was busy), or not at all (the command
    // that brought the window up draws it anyway).
    void RedrawLater() { resizeTimer_.start(); }
    void CancelRedraw() { resizeTimer_.stop(); }
    // What the mouse does in the window, for the status bar.
    static QString Hint();
    // The cursor read-out for a point of the window; "" where the drawing has no coordinates.
    QString ReadoutAt(QPointF position) const;

  signals:
    void resizeSettled();  // the window's size has stopped changing
    void cursorMoved(const QString& readout);
    void entered();
    void copyRequested();
    void savePictureRequested();
    void printRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    Fraction FractionOf(QPointF position) const;
    void DrawAxisOverlay(QPainter& painter) const;
    void ViewChanged();

    const PictureCanvas& picture_;
    PlotView view_;
    QTimer resizeTimer_;
    QRubberBand* band_ = nullptr;
    QPoint pressAt_;
    enum class Drag { None, Band, Pan } drag_ = Drag::None;
    QPointF lastPan_;

    // The painted picture, kept until the drawing, the size, the pixel ratio or the view change.
    QImage cache_;
    bool cacheValid_ = false;
    unsigned long cacheClears_ = 0;
    size_t cacheOps_ = 0;
};

}  // namespace zemra
