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

}  // namespace zemra
