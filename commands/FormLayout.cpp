#include "commands/FormLayout.h"

#include <algorithm>

namespace zemra {
namespace {

FormSection Section(const char* caption, std::vector<FormField> fields, int column = 0) {
    FormSection s;
    s.Caption = caption;
    s.Fields = std::move(fields);
    s.Column = column;
    return s;
}

FormSection Table(const char* caption, int lastRow, std::vector<FormColumn> columns) {
    FormSection s;
    s.Caption = caption;
    s.Columns = std::move(columns);
    s.FirstRow = 1;
    s.LastRow = lastRow;
    return s;
}

// The fitted box and the two bounds of a quantity's fit slots, at the offset of row r's slot
// from r.
std::vector<FormColumn> FitColumns(FitParam param) {
    const int offset = FitSlot(param, 1) - 1;
    return {{"CheckFitted", offset}, {"TextCmin", offset}, {"TextCmax", offset}};
}

std::vector<FormColumn> Join(std::initializer_list<std::vector<FormColumn>> parts) {
    std::vector<FormColumn> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

FormDescription Sheet() {
    FormDescription f{"FormExpr", "Experimental", "cmdOK", "SheetOK", {}};
    f.Sections.push_back(Table(
        "Species", 4,
        Join({{{"specie"}, {"D"}, {"C"}, {"Cinit"}}, FitColumns(FitParam::C), {{"Cond", -1}}})));
    f.Sections.push_back(Table("Heterogeneous Reaction", 3,
                               Join({{{"heter"}, {"Eze"}},
                                     FitColumns(FitParam::Eformal),
                                     {{"NEL"}, {"alph"}},
                                     FitColumns(FitParam::Alpha),
                                     {{"ks"}},
                                     FitColumns(FitParam::ks)})));
    f.Sections.push_back(Table("Homogeneous Reaction", 3,
                               Join({{{"homo"}, {"pl"}, {"kf"}},
                                     FitColumns(FitParam::kf),
                                     {{"kb"}},
                                     FitColumns(FitParam::kb),
                                     {{"LabelKeq"}}})));
    f.Sections.push_back(Section("Instrumental Parameters",
                                 {{"Estart"},
                                  {"Eend"},
                                  {"Estep"},
                                  {"V"},
                                  {"tp"},
                                  {"td"},
                                  {"Epulse"},
                                  {"TextF"},
                                  {"txttemp"},
                                  {"Noise"},
                                  {"Cdl"},
                                  {"Ru"},
                                  {"ComboScan"},
                                  {"CheckRefined"}},
                                 1));
    f.Sections.push_back(Section("Electrode",
                                 {{"optElectrode"},
                                  {"radius", kNoRow, "LabelRadius"},
                                  {"leng", kNoRow, "LabelLength"},
                                  {"ARE"},
                                  {"TextRrate", kNoRow, "LabelRrate"},
                                  {"TextDis"}},
                                 2));
    f.Sections.push_back(Section(
        "Electrolyte",
        {{"TextVis", kNoRow, "LabelVis"}, {"TextElectrolyteCond"}, {"TextElectrolyteC"}}, 3));
    FormSection pre = Section("", {{"CheckPreEqu"}, {"CheckPreCon"}}, 3);
    FormSection frame =
        Section("", {{"txtEPre"}, {"txtTPre"}, {"txtRStir"}, {"txtPconst"}, {"txtTpreconst"}});
    frame.FrameControl = "FramePre";
    pre.Sections.push_back(frame);
    f.Sections.push_back(pre);
    return f;
}

FormDescription Techniques() {
    FormDescription f{"FormTech", "Techniques", "CmdOK", "TechOK", {}};
    f.Sections.push_back(Section("", {{"CheckDigital"}}));
    f.Sections.push_back(Section("Voltammetry", {{"optTech"}}));
    return f;
}

FormDescription Mechanisms() {
    FormDescription f{"FormMech", "Mechanism", "Command1", "MechOK", {}};
    f.Sections.push_back(Section("Mechanism", {{"mech"}}));
    return f;
}

FormDescription PlotOptions() {
    FormDescription f{"formOption", "Option", "OK", "OptionOK", {}};
    f.Sections.push_back(Section("", {{"CheckGrid"}, {"overlap"}}));
    for (int k = 0; k <= 4; ++k) {
        FormSection curve = Section("", {}, k + 1);
        curve.Caption = "Curve " + std::to_string(k + 1);
        curve.Sections.push_back(
            Section("Line style", {{"linestyle1", k}, {"linestyle2", k}, {"linestyle3", k}}));
        f.Sections.push_back(curve);
    }
    f.Sections.push_back(Section("Axis", {{"ComboY"},
                                          {"CheckXdir"},
                                          {"Yauto"},
                                          {"Xauto"},
                                          {"XminText"},
                                          {"XmaxText"},
                                          {"YminText"},
                                          {"YmaxText"}}));
    return f;
}

void Collect(const FormSection& s, std::vector<std::pair<std::string, int>>& out) {
    if (!s.FrameControl.empty()) out.emplace_back(s.FrameControl, kNoRow);
    for (const FormField& field : s.Fields) {
        out.emplace_back(field.Name, field.Row);
        if (!field.LabelControl.empty()) out.emplace_back(field.LabelControl, kNoRow);
    }
    for (int r = s.FirstRow; r <= s.LastRow; ++r)
        for (const FormColumn& c : s.Columns) out.emplace_back(c.Name, r + c.RowOffset);
    for (const FormSection& inner : s.Sections) Collect(inner, out);
}

}  // namespace

const std::vector<FormDescription>& FormDescriptions() {
    static const std::vector<FormDescription> forms = {Sheet(), Techniques(), Mechanisms(),
                                                       PlotOptions()};
    return forms;
}

const FormDescription* FindForm(const std::string& name) {
    for (const FormDescription& f : FormDescriptions())
        if (f.Name == name) return &f;
    return nullptr;
}

std::vector<std::pair<std::string, int>> PlacedControls(const FormDescription& form) {
    std::vector<std::pair<std::string, int>> out;
    for (const FormSection& s : form.Sections) Collect(s, out);
    return out;
}

std::vector<const Control*> UnplacedControls(const FormDescription& form, const InputRecord& in) {
    const auto placed = PlacedControls(form);
    std::vector<const Control*> out;
    for (const Control& c : in.Controls()) {
        if (c.Form != form.Name) continue;
        const std::pair<std::string, int> key{c.Name, c.Row};
        if (std::find(placed.begin(), placed.end(), key) == placed.end()) out.push_back(&c);
    }
    return out;
}

}  // namespace zemra
