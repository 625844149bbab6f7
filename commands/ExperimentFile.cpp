#include "commands/ExperimentFile.h"

#include <memory>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "commands/Commands.h"
#include "commands/SheetComputations.h"
#include "commands/SheetLayout.h"
#include "model/Collection.h"
#include "platform/TextFile.h"

namespace zemra {
namespace {

using nlohmann::json;

inline constexpr size_t kMaxExperimentFileBytes = size_t{64} << 20;

struct Restored {
    struct ControlValue {
        Control* Target;
        std::string Text, Caption;
        bool Checked;
        int Selected;
    };
    std::vector<ControlValue> Controls;
    PlotSettings Plot;
    CurveStore Curves;
    std::vector<std::string> Lines;
};

// Reads every part into `r`; nlohmann raises json::exception for a missing key or a wrong type,
// which names the key through the message.
void ReadParts(Workbench& wb, const json& j, Restored& r) {
    if (!j.is_object() || !j.contains("version"))
        throw std::runtime_error("not an experiment file");
    const int version = j.at("version").get<int>();
    if (version != kExperimentFormatVersion)
        throw std::runtime_error("format version " + std::to_string(version) + " is not known");
    for (const json& c : j.at("controls")) {
        const std::string name = c.at("name").get<std::string>();
        const int row = c.at("row").get<int>();
        Control* target = wb.Input.Find(name, row);
        if (!target)
            throw std::runtime_error("unknown control " + name + "(" + std::to_string(row) + ")");
        const int selected = c.at("selected").get<int>();
        // A list counts its entries from 0, an option group from 1.
        const int last =
            static_cast<int>(target->Entries.size()) - (target->Kind == ControlKind::List ? 1 : 0);
        if (selected < 0 || (!target->Entries.empty() && selected > last))
            throw std::runtime_error("entry " + std::to_string(selected) + " of " + name +
                                     " does not exist");
        r.Controls.push_back({target, c.at("text").get<std::string>(),
                              c.at("caption").get<std::string>(), c.at("checked").get<bool>(),
                              selected});
    }
    const json& p = j.at("plot");
    r.Plot = {p.at("Xmin").get<double>(), p.at("Xmax").get<double>(), p.at("Ymin").get<double>(),
              p.at("Ymax").get<double>(), p.at("Grid").get<bool>(),   p.at("Overlap").get<bool>()};
    const json& s = j.at("curves");
    CurveStore& cs = r.Curves;
    const json& n = s.at("NoOfData");
    const int points = n.is_null() ? 0 : n.get<int>();
    if (!n.is_null()) cs.NoOfData = points;
    if (points < 0 || points > kMaxPoints) throw std::runtime_error("NoOfData is out of range");
    auto index = [&](const char* key, int hi) {
        const int v = s.at(key).get<int>();
        if (v < 0 || v > hi) throw std::runtime_error(std::string(key) + " is out of range");
        return v;
    };
    cs.FirstPoint = index("FirstPoint", kMaxPoints);
    cs.LastPoint = index("LastPoint", kMaxPoints);
    cs.NoOfCurves = index("NoOfCurves", kMaxCurves);
    cs.CurveNo = index("CurveNo", kMaxCurves);
    cs.NewCurve = index("NewCurve", kMaxCurves);
    cs.NoOfSpeciesPlus1 = index("NoOfSpeciesPlus1", 6);
    const json& x = s.at("X");
    if (x.size() != static_cast<size_t>(points))
        throw std::runtime_error("X does not hold NoOfData points");
    for (int i = 1; i <= points; ++i) cs.X(i) = x.at(static_cast<size_t>(i - 1)).get<double>();
    const json& y = s.at("Y");
    if (y.size() != kMaxCurves) throw std::runtime_error("Y does not hold 5 curves");
    for (int c = 1; c <= kMaxCurves; ++c) {
        const json& col = y.at(static_cast<size_t>(c - 1));
        if (col.size() != static_cast<size_t>(points))
            throw std::runtime_error("curve " + std::to_string(c) +
                                     " does not hold NoOfData points");
        for (int i = 1; i <= points; ++i)
            cs.Y(i, c) = col.at(static_cast<size_t>(i - 1)).get<double>();
        cs.LineStyle[static_cast<size_t>(c)] =
            s.at("LineStyle").at(static_cast<size_t>(c - 1)).get<int>();
        cs.Measured[static_cast<size_t>(c)] =
            s.at("Measured").at(static_cast<size_t>(c - 1)).get<bool>();
    }
    r.Lines = j.at("result").get<std::vector<std::string>>();
}

// Values back into the record without events, then the handlers derive what is shown and
// enabled (and recompute what they compute, from the same inputs).
void Commit(Workbench& wb, Restored& r) {
    for (auto& c : r.Controls) {
        c.Target->Text = c.Text;
        c.Target->Caption = c.Caption;
        c.Target->Checked = c.Checked;
        c.Target->Selected = c.Selected;
    }
    ApplyDigitalAvailability(wb.Model, wb.Input);
    ElectrodeSelection(wb, wb.Input.SelectedOf("optElectrode"));
    ActivateSheet(wb);
    for (int s = 1; s <= kFitSlots; ++s) FitBoundsShown(wb, s);
    for (const char* axis : {"X", "Y"}) {
        const bool shown = !wb.Input.IsChecked(std::string(axis) + "auto");
        wb.Input.SetShown(std::string(axis) + "minText", kNoRow, shown);
        wb.Input.SetShown(std::string(axis) + "maxText", kNoRow, shown);
    }
    wb.Plot = r.Plot;
    wb.Curves = r.Curves;
    wb.Result.Clear();
    for (const auto& line : r.Lines) wb.Result.Print(line);
}

}  // namespace

std::string ExperimentText(const Workbench& wb) {
    json j;
    j["version"] = kExperimentFormatVersion;
    json controls = json::array();
    for (const Control& c : wb.Input.Controls())
        controls.push_back({{"form", c.Form},
                            {"name", c.Name},
                            {"row", c.Row},
                            {"text", c.Text},
                            {"caption", c.Caption},
                            {"checked", c.Checked},
                            {"selected", c.Selected}});
    j["controls"] = controls;
    const PlotSettings& p = wb.Plot;
    j["plot"] = {{"Xmin", p.Xmin}, {"Xmax", p.Xmax}, {"Ymin", p.Ymin},
                 {"Ymax", p.Ymax}, {"Grid", p.Grid}, {"Overlap", p.Overlap}};
    const CurveStore& cs = wb.Curves;
    const int points = cs.NoOfData.IsSet ? cs.NoOfData.Value : 0;
    json x = json::array(), y = json::array(), styles = json::array(), measured = json::array();
    for (int i = 1; i <= points; ++i) x.push_back(cs.X(i));
    for (int c = 1; c <= kMaxCurves; ++c) {
        json col = json::array();
        for (int i = 1; i <= points; ++i) col.push_back(cs.Y(i, c));
        y.push_back(col);
        styles.push_back(cs.LineStyle[static_cast<size_t>(c)]);
        measured.push_back(static_cast<bool>(cs.Measured[static_cast<size_t>(c)]));
    }
    j["curves"] = {{"NoOfData", cs.NoOfData.IsSet ? json(points) : json(nullptr)},
                   {"FirstPoint", cs.FirstPoint},
                   {"LastPoint", cs.LastPoint},
                   {"NoOfCurves", cs.NoOfCurves},
                   {"CurveNo", cs.CurveNo},
                   {"NewCurve", cs.NewCurve},
                   {"NoOfSpeciesPlus1", cs.NoOfSpeciesPlus1},
                   {"LineStyle", styles},
                   {"Measured", measured},
                   {"X", x},
                   {"Y", y}};
    j["result"] = wb.Result.Lines;
    return j.dump(1, ' ', false, json::error_handler_t::replace) + "\n";
}

std::string ReadExperimentText(Workbench& wb, const std::string& text) {
    auto restored = std::make_unique<Restored>();
    try {
        ReadParts(wb, json::parse(text), *restored);
    } catch (const json::exception& e) {
        // The library's own tag ("[json.exception.parse_error.101] ") is left out.
        const std::string what = e.what();
        const size_t tag = what.find("] ");
        return tag == std::string::npos ? what : what.substr(tag + 2);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    Commit(wb, *restored);
    return "";
}

void mnuSaveExperiment(Workbench& wb) {
    const auto name = wb.Ui.ChooseSaveFile(kExperimentFileFilter);
    if (!name) return;
    try {
        WriteTextFile(*name, ExperimentText(wb));
    } catch (const RuntimeError& e) {
        wb.Ui.MessageBox("Experiment Error: " + e.Description());
    }
}

void mnuOpenExperiment(Workbench& wb) {
    const auto name = wb.Ui.ChooseOpenFile(kExperimentFileFilter);
    if (!name) return;
    std::string problem;
    try {
        problem = ReadExperimentText(wb, ReadTextFile(*name, kMaxExperimentFileBytes));
    } catch (const RuntimeError& e) {
        problem = e.Description();
    }
    if (!problem.empty()) {
        wb.Ui.MessageBox("Experiment Error: " + problem);
        return;
    }
    if (wb.Curves.NoOfData.IsSet) {
        wb.Menus.Display = wb.Menus.Analysis = true;
        ShowPlot(wb);
    }
    wb.Result.Show();
    wb.Ui.ShowWindow("FormResult");
}

}  // namespace zemra
