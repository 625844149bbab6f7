// The plot's picture leaving the window: on the clipboard (a bitmap at device-pixel resolution
// and the SVG document beside it), in a PNG, SVG or PDF file, and on the printer. Every picture
// that leaves the window is black on white, whatever the desktop's colours; each shows the whole
// drawing, not the view-only zoom.
#pragma once

#include <QSize>
#include <optional>
#include <string>

#include "platform/Canvas.h"

class QPrinter;

namespace zemra {

enum class PictureFormat { Png, Svg, Pdf };

// The filter of the Save Picture dialog, in the commands' form.
inline constexpr const char* kPictureFilter =
    "PNG picture|*.png|SVG picture|*.svg|PDF document|*.pdf";

// The format a file name asks for by its extension (any letter case); nullopt for another.
std::optional<PictureFormat> PictureFormatOf(const std::string& path);

struct PngSettings {
    QSize Pixels;
    int Dpi = 96;
};

// Writes the picture: a PNG of the chosen pixels and dots per inch, or an SVG or PDF of the
// window's logical size. A file that cannot be written raises RuntimeError with its description
// and leaves any earlier file of that name as it was.
void SavePicture(const RecordingCanvas& picture, const std::string& path, PictureFormat format,
                 QSize windowSize, const PngSettings& png);

// Clears the clipboard and puts the picture on it: the image at the window's size times its
// pixel ratio, and the SVG document.
void CopyPicture(const RecordingCanvas& picture, QSize windowSize, double pixelRatio);

// Prints the picture on one page, as large as the page allows with the window's proportions.
void PrintPicture(const RecordingCanvas& picture, QPrinter& printer, QSize windowSize);

}  // namespace zemra
