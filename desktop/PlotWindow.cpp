#include "desktop/PlotWindow.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "desktop/PlotPainter.h"

namespace zemra {
namespace {

// The resize of a window is taken as finished when no further resize came for this long.
constexpr int kResizeSettleMs = 150;
// One notch of the wheel zooms by this factor.
constexpr double kWheelZoom = 1.25;

// A tick label of the overlay: the value without trailing zeros ("70 µA", "-0.05 V"), its minus
// sign as in the read-out.
QString TickText(double v, const std::string& unit, bool prefixed) {
    std::string text;
    if (prefixed) {
        text = SiText(v, unit);
    } else {
        char buf[48];
        std::snprintf(buf, sizeof buf, "%.4f %s", v, unit.c_str());
        text = buf;
        if (text[0] == '-') text.replace(0, 1, "\xE2\x88\x92");
    }
    const size_t space = std::min(text.find(' '), text.size());
    const size_t dot = text.find('.');
    if (dot != std::string::npos && dot < space) {
        size_t end = space;
        while (end > dot + 1 && text[end - 1] == '0') --end;
        if (end == dot + 1) --end;
        text.erase(end, space - end);
    }
    return QString::fromStdString(text);
}

}  // namespace

PlotWindow::PlotWindow(const PictureCanvas& picture, QWidget* parent)
    : QWidget(parent), picture_(picture) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 150);
    setToolTip(
        QStringLiteral("Drag: zoom into a rectangle   Wheel: zoom   Shift+drag or middle "
                       "button: pan   Esc or double-click: the whole plot"));
    resizeTimer_.setSingleShot(true);
    resizeTimer_.setInterval(kResizeSettleMs);
    connect(&resizeTimer_, &QTimer::timeout, this, &PlotWindow::resizeSettled);

    // Ctrl+C copies the plot only while the plot window has the focus, so that copying text in
    // the other windows works as usual.
    auto* copy = new QAction(QStringLiteral("&Copy"), this);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(copy, &QAction::triggered, this, &PlotWindow::copyRequested);
    addAction(copy);
}

void PlotWindow::PictureChanged() {
    if (cacheValid_ && cacheClears_ == picture_.Clears && cacheOps_ == picture_.Ops.size()) return;
    cacheValid_ = false;
    update();
}

void PlotWindow::ResetZoom() {
    view_.Reset();
    ViewChanged();
}

void PlotWindow::ViewChanged() {
    cacheValid_ = false;
    update();
}

Fraction PlotWindow::FractionOf(QPointF at) const {
    return {at.x() / std::max(1, width()), at.y() / std::max(1, height())};
}

QString PlotWindow::ReadoutAt(QPointF position) const {
    const std::optional<UserSystem> system = LastSystem(picture_);
    if (!system) return {};
    return QString::fromStdString(
        CursorText(view_.UserAt(*system, FractionOf(position)), YTitleOf(picture_)));
}

void PlotWindow::paintEvent(QPaintEvent*) {
    const double ratio = devicePixelRatioF();
    if (!cacheValid_ || cache_.deviceIndependentSize().toSize() != size() ||
        cache_.devicePixelRatio() != ratio) {
        const QPalette& pal = palette();
        cache_ = RenderPicture(
            picture_, DevicePixels(size(), ratio), ratio,
            PlotColours::Screen(pal.color(QPalette::Base), pal.color(QPalette::Text)), view_);
        cacheValid_ = true;
        cacheClears_ = picture_.Clears;
        cacheOps_ = picture_.Ops.size();
    }
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), cache_);
    if (view_.Zoomed()) DrawAxisOverlay(painter);
}

// While zoomed the frame's own labels are mostly out of sight: round values of E along the
// bottom edge and of the Y quantity along the left edge show where the view is.
void PlotWindow::DrawAxisOverlay(QPainter& painter) const {
    const std::optional<UserSystem> system = LastSystem(picture_);
    if (!system) return;
    const UserPoint a = view_.UserAt(*system, {0, 0}), b = view_.UserAt(*system, {1, 1});
    const std::string unit = QuantityOf(YTitleOf(picture_)).Unit;
    const QFontMetrics fm(painter.font());
    const int band = fm.height() + 6;
    QColor shade = palette().color(QPalette::Window);
    shade.setAlpha(220);
    painter.fillRect(QRect(0, height() - band, width(), band), shade);
    painter.fillRect(
        QRect(0, 0, fm.horizontalAdvance(QStringLiteral("-000.0 mA")) + 10, height() - band),
        shade);
    painter.setPen(palette().color(QPalette::WindowText));
    for (const double e : NiceTicks(a.X, b.X, std::max(2, width() / 110))) {
        const double x = view_.WindowAt(*system, {e, a.Y}).X * width();
        painter.drawLine(QPointF(x, height() - band), QPointF(x, height() - band + 4));
        painter.drawText(QPointF(x + 2, height() - 4), TickText(e, "V", false));
    }
    for (const double y : NiceTicks(b.Y, a.Y, std::max(2, height() / 60))) {
        const double py = view_.WindowAt(*system, {a.X, y}).Y * height();
        if (py > height() - band) continue;
        painter.drawLine(QPointF(0, py), QPointF(4, py));
        painter.drawText(QPointF(6, py + fm.ascent() / 2.0), TickText(y, unit, true));
    }
}

void PlotWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    cacheValid_ = false;
    resizeTimer_.start();
}

void PlotWindow::mousePressEvent(QMouseEvent* event) {
    pressAt_ = event->position().toPoint();
    lastPan_ = event->position();
    const bool pan =
        event->button() == Qt::MiddleButton ||
        (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier));
    if (pan) {
        drag_ = Drag::Pan;
        setCursor(Qt::ClosedHandCursor);
    } else if (event->button() == Qt::LeftButton) {
        drag_ = Drag::Band;
        if (!band_) band_ = new QRubberBand(QRubberBand::Rectangle, this);
        band_->setGeometry(QRect(pressAt_, QSize()));
        band_->show();
    }
}

void PlotWindow::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    emit cursorMoved(ReadoutAt(at));
    if (drag_ == Drag::Band && band_) {
        band_->setGeometry(QRect(pressAt_, at.toPoint()).normalized());
    } else if (drag_ == Drag::Pan) {
        const QPointF d = at - lastPan_;
        lastPan_ = at;
        view_.Pan(d.x() / std::max(1, width()), d.y() / std::max(1, height()));
        ViewChanged();
    }
}

void PlotWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (drag_ == Drag::Band && band_) {
        band_->hide();
        view_.ZoomToBand(FractionOf(pressAt_), FractionOf(event->position()));
        ViewChanged();
    }
    drag_ = Drag::None;
    unsetCursor();
}

void PlotWindow::mouseDoubleClickEvent(QMouseEvent*) {
    ResetZoom();
}

void PlotWindow::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0) return;
    view_.ZoomAt(FractionOf(event->position()), std::pow(kWheelZoom, notches));
    ViewChanged();
    emit cursorMoved(ReadoutAt(event->position()));
}

void PlotWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && view_.Zoomed()) {
        ResetZoom();
        return;
    }
    QWidget::keyPressEvent(event);
}

QString PlotWindow::Hint() {
    return QStringLiteral(
        "Drag: zoom into a rectangle   Wheel: zoom   Shift+drag or middle "
        "button: pan   Esc or double-click: the whole plot");
}

void PlotWindow::enterEvent(QEnterEvent*) {
    emit entered();
}

void PlotWindow::leaveEvent(QEvent*) {
    emit cursorMoved({});
}

void PlotWindow::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(QStringLiteral("&Copy"), this, &PlotWindow::copyRequested);
    menu.addAction(QStringLiteral("&Save Picture..."), this, &PlotWindow::savePictureRequested);
    menu.addAction(QStringLiteral("&Print..."), this, &PlotWindow::printRequested);
    menu.addSeparator();
    menu.addAction(QStringLiteral("&Reset Zoom"), this, &PlotWindow::ResetZoom)
        ->setEnabled(view_.Zoomed());
    menu.exec(event->globalPos());
}

}  // namespace zemra
