#include "desktop/PictureOutput.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>
#include <cctype>
#include <cmath>

#include "desktop/PlotPainter.h"
#include "platform/SvgCanvas.h"
#include "platform/TextFile.h"

namespace zemra {
namespace {

// Logical pixels are 1/96 inch, as on a desktop at 100 % scaling.
constexpr double kLogicalDpi = 96;
// Resolution of the PDF page: fine enough for any printer.
constexpr int kPdfDpi = 300;

std::string SvgDocument(const RecordingCanvas& picture, QSize size) {
    SvgCanvas svg(size.width(), size.height());
    ReplayLastDrawing(picture, svg);
    return svg.Document();
}

std::string PngBytes(const RecordingCanvas& picture, const PngSettings& png) {
    const int dpi = std::clamp(png.Dpi, 10, 2400);
    QImage image = RenderPicture(picture, png.Pixels, dpi / kLogicalDpi, PlotColours::Paper());
    image.setDevicePixelRatio(1);
    const int dotsPerMetre = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

std::string PdfBytes(const RecordingCanvas& picture, QSize windowSize) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Zemra"));
        writer.setTitle(QStringLiteral("Zemra plot"));
        writer.setResolution(kPdfDpi);
        // One page of the window's size, 72 points per inch.
        const double toPoints = 72 / kLogicalDpi;
        writer.setPageSize(
            QPageSize(QSizeF(windowSize.width() * toPoints, windowSize.height() * toPoints),
                      QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        PaintPicture(picture, painter, QSizeF(writer.width(), writer.height()),
                     kPdfDpi / kLogicalDpi, PlotColours::Paper());
    }
    return bytes.toStdString();
}

}  // namespace

std::optional<PictureFormat> PictureFormatOf(const std::string& path) {
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return std::nullopt;
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == "png") return PictureFormat::Png;
    if (ext == "svg") return PictureFormat::Svg;
    if (ext == "pdf") return PictureFormat::Pdf;
    return std::nullopt;
}

void SavePicture(const RecordingCanvas& picture, const std::string& path, PictureFormat format,
                 QSize windowSize, const PngSettings& png) {
    const QSize size = windowSize.expandedTo(QSize(1, 1));
    switch (format) {
        case PictureFormat::Png:
            WriteTextFile(path, PngBytes(picture, png));
            break;
        case PictureFormat::Svg:
            WriteTextFile(path, SvgDocument(picture, size));
            break;
        case PictureFormat::Pdf:
            WriteTextFile(path, PdfBytes(picture, size));
            break;
    }
}

void CopyPicture(const RecordingCanvas& picture, QSize windowSize, double pixelRatio) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    auto* data = new QMimeData;
    data->setImageData(RenderPicture(picture, DevicePixels(windowSize, pixelRatio), pixelRatio,
                                     PlotColours::Paper()));
    data->setData(QStringLiteral("image/svg+xml"),
                  QByteArray::fromStdString(SvgDocument(picture, windowSize)));
    clipboard->setMimeData(data);
}

void PrintPicture(const RecordingCanvas& picture, QPrinter& printer, QSize windowSize) {
    QPainter painter;
    if (!painter.begin(&printer)) return;
    const QRectF page(QPointF(0, 0), QSizeF(printer.width(), printer.height()));
    const QSize size = windowSize.expandedTo(QSize(1, 1));
    const double fit = std::min(page.width() / size.width(), page.height() / size.height());
    painter.translate(page.topLeft());
    PaintPicture(picture, painter, QSizeF(size.width() * fit, size.height() * fit),
                 printer.resolution() / kLogicalDpi, PlotColours::Paper());
}

}  // namespace zemra
