#include "platform/Canvas.h"

namespace zemra {

std::vector<CanvasRecord> RecordingCanvas::OfKind(CanvasOp op) const {
    std::vector<CanvasRecord> out;
    for (const auto& r : Ops)
        if (r.Op == op) out.push_back(r);
    return out;
}

std::vector<std::string> RecordingCanvas::Texts() const {
    std::vector<std::string> out;
    for (const auto& r : Ops)
        if (r.Op == CanvasOp::Text) out.push_back(r.Text);
    return out;
}

namespace {
constexpr size_t kPictureReserve = 24000;
}

void PictureCanvas::Clear() {
    std::vector<CanvasRecord> state;
    for (const CanvasOp op : {CanvasOp::Scale, CanvasOp::Dashed, CanvasOp::Colour}) {
        for (auto r = Ops.rbegin(); r != Ops.rend(); ++r) {
            if (r->Op == op) {
                state.push_back(*r);
                break;
            }
        }
    }
    Ops = std::move(state);
    // Room for a plot of five 4000-point curves at once: growing the record by doubling would
    // copy it into fresh pages several times, and every fresh page is a page fault.
    Ops.reserve(kPictureReserve);
    RecordingCanvas::Clear();
    ++Clears;
}

void Replay(const CanvasRecord& r, Canvas& target) {
    const auto& a = r.Args;
    switch (r.Op) {
        case CanvasOp::Clear:
            target.Clear();
            break;
        case CanvasOp::Scale:
            target.Scale(a[0], a[1], a[2], a[3]);
            break;
        case CanvasOp::MoveTo:
            target.MoveTo(a[0], a[1]);
            break;
        case CanvasOp::Text:
            target.Text(r.Text);
            break;
        case CanvasOp::Point:
            target.Point(a[0], a[1]);
            break;
        case CanvasOp::Line:
            target.Line(a[0], a[1], a[2], a[3]);
            break;
        case CanvasOp::LineTo:
            target.LineTo(a[0], a[1]);
            break;
        case CanvasOp::Rectangle:
            target.Rectangle(a[0], a[1], a[2], a[3]);
            break;
        case CanvasOp::Dashed:
            target.SetDashed(a[0] != 0.0);
            break;
        case CanvasOp::Colour:
            target.SetColour(static_cast<int>(a[0]));
            break;
    }
}

void ReplayLastDrawing(const RecordingCanvas& recording, Canvas& target) {
    size_t from = 0;
    for (size_t i = 0; i < recording.Ops.size(); ++i)
        if (recording.Ops[i].Op == CanvasOp::Clear) from = i;
    target.Clear();
    // The coordinate system, line style and colour set before that Clear still hold after it.
    for (const CanvasOp state : {CanvasOp::Scale, CanvasOp::Dashed, CanvasOp::Colour}) {
        for (size_t i = from; i-- > 0;) {
            if (recording.Ops[i].Op == state) {
                Replay(recording.Ops[i], target);
                break;
            }
        }
    }
    for (size_t i = from; i < recording.Ops.size(); ++i) Replay(recording.Ops[i], target);
}

}  // namespace zemra
