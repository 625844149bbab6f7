#include "model/InputRecord.h"

#include <stdexcept>

#include "model/ParameterModel.h"

namespace zemra {
namespace {

const char* const kExpr = "FormExpr";
const char* const kTech = "FormTech";
const char* const kMech = "FormMech";
const char* const kOption = "formOption";

Control TextBox(const char* form, const std::string& name, int row, const std::string& label,
                const std::string& tip, const std::string& text) {
    Control c;
    c.Form = form;
    c.Name = name;
    c.Row = row;
    c.Kind = ControlKind::Text;
    c.Label = label;
    c.ToolTip = tip;
    c.Text = text;
    return c;
}

Control LabelBox(const char* form, const std::string& name, int row, const std::string& label,
                 const std::string& tip, const std::string& caption) {
    Control c = TextBox(form, name, row, label, tip, "");
    c.Kind = ControlKind::Label;
    c.Caption = caption;
    return c;
}

Control CheckBox(const char* form, const std::string& name, int row, const std::string& caption,
                 const std::string& tip, bool checked) {
    Control c = TextBox(form, name, row, caption, tip, "");
    c.Kind = ControlKind::Check;
    c.Caption = caption;
    c.Checked = checked;
    return c;
}

Control ListBox(const char* form, const std::string& name, int row, const std::string& label,
                const std::string& tip, std::vector<std::string> entries) {
    Control c = TextBox(form, name, row, label, tip, "");
    c.Kind = ControlKind::List;
    c.Entries = std::move(entries);
    c.Selected = 0;
    return c;
}

Control OptionGroup(const char* form, const std::string& name, std::vector<std::string> captions,
                    std::vector<std::string> tips) {
    Control c = TextBox(form, name, kNoRow, "", "", "");
    c.Kind = ControlKind::OptionGroup;
    c.EntryEnabled.assign(captions.size(), true);
    c.Entries = std::move(captions);
    c.EntryToolTips = std::move(tips);
    c.EntryToolTips.resize(c.Entries.size());
    c.Selected = 1;
    return c;
}

}  // namespace

std::string InputRecord::Key(const std::string& name, int row) {
    return name + "#" + std::to_string(row);
}

Control& InputRecord::Add(Control c) {
    index_[Key(c.Name, c.Row)] = controls_.size();
    controls_.push_back(std::move(c));
    return controls_.back();
}

InputRecord::InputRecord() {
    controls_.reserve(400);
    // Species, rows 1..4 (the conductivity field is addressed as row - 1).
    const char* letters[] = {"A", "B", "C", "D"};
    for (int r = 1; r <= 4; ++r) {
        Add(LabelBox(kExpr, "specie", r, "", "species", letters[r - 1]));
        Add(TextBox(kExpr, "D", r, "D (cm \xC2\xB2/s)", "diffusion coefficient", "1e-5"));
        Add(TextBox(kExpr, "C", r, "C anal (M)", "analytical concentration",
                    r == 1 ? "1e-3" : "0"));
        Add(LabelBox(kExpr, "Cinit", r, "C init (M)", "initial concentration",
                     r == 1 ? "1e-3" : "0"));
        Add(TextBox(kExpr, "Cond", r - 1, "Cond", "conductivity", std::to_string(100 * r)));
        Add(CheckBox(kExpr, "CheckFitted", r, "C fitted (M)", "fitted concentration", r == 1));
        Add(TextBox(kExpr, "TextCmin", r, "C min (M)", "mininum concentration",
                    r == 1 ? "1e-4" : "0"));
        Add(TextBox(kExpr, "TextCmax", r, "C max (M)", "maxinum concentration", "1e-2"));
    }
    // Heterogeneous (charge-transfer) reactions, rows 1..3.
    const char* eze[] = {"0.1", "-0.1", "-0.2"};
    const char* ezeMax[] = {"0.2", "0.2", "0.3"};
    for (int r = 1; r <= 3; ++r) {
        Add(LabelBox(kExpr, "heter", r, "Reaction", "charge reaction", std::to_string(r)));
        Add(TextBox(kExpr, "Eze", r, "E\xC2\xB0 (V)", "standard electrode potential", eze[r - 1]));
        Add(ListBox(kExpr, "NEL", r, "n", "electron number", {"1", "2", "3"}));
        Add(TextBox(kExpr, "alph", r, "\xCE\xB1", "electron transfer coefficient", "0.5"));
        Add(TextBox(kExpr, "ks", r, "ks (cm/s)", "heterogeneous standard rate constant", "1e4"));
        Add(CheckBox(kExpr, "CheckFitted", FitSlot(FitParam::ks, r), "ks fitted", "fitted ks",
                     false));
        Add(TextBox(kExpr, "TextCmin", FitSlot(FitParam::ks, r), "ks min", "mininum ks", "1e-4"));
        Add(TextBox(kExpr, "TextCmax", FitSlot(FitParam::ks, r), "ks max", "maxinum ks", "100"));
        Add(CheckBox(kExpr, "CheckFitted", FitSlot(FitParam::Alpha, r), "\xCE\xB1 fitted",
                     "fitted alpha", false));
        Add(TextBox(kExpr, "TextCmin", FitSlot(FitParam::Alpha, r), "\xCE\xB1 min", "mininum alpha",
                    "0.4"));
        Add(TextBox(kExpr, "TextCmax", FitSlot(FitParam::Alpha, r), "\xCE\xB1 max", "maxinum alpha",
                    "0.6"));
        Add(CheckBox(kExpr, "CheckFitted", FitSlot(FitParam::Eformal, r), "E\xC2\xB0 fitted (V)",
                     "fitted E\xC2\xB0", false));
        Add(TextBox(kExpr, "TextCmin", FitSlot(FitParam::Eformal, r), "E\xC2\xB0 min",
                    "mininum E\xC2\xB0", "-0.2"));
        Add(TextBox(kExpr, "TextCmax", FitSlot(FitParam::Eformal, r), "E\xC2\xB0 max (V)",
                    "maxinum E\xC2\xB0", ezeMax[r - 1]));
    }
    // Homogeneous reactions, rows 1..3.
    for (int r = 1; r <= 3; ++r) {
        Add(LabelBox(kExpr, "homo", r, "Reaction", "chemical reaction", std::to_string(r)));
        Add(ListBox(kExpr, "pl", r, "p", "stoichiometric number", {"1", "2", "3", "4"}));
        Add(TextBox(kExpr, "kf", r, "kf", "forward chemical reaction rate constant", "10"));
        Add(TextBox(kExpr, "kb", r, "kb", "backward chemical reaction rate constant", "0.01"));
        Add(LabelBox(kExpr, "LabelKeq", r, "Keq", "chemical equilibrium constant", ""));
        Add(CheckBox(kExpr, "CheckFitted", FitSlot(FitParam::kf, r), "kf fitted", "fitted kf",
                     false));
        Add(TextBox(kExpr, "TextCmin", FitSlot(FitParam::kf, r), "kf min", "mininum kf", "1"));
        Add(TextBox(kExpr, "TextCmax", FitSlot(FitParam::kf, r), "kf max", "maxinum kf", "100"));
        Add(CheckBox(kExpr, "CheckFitted", FitSlot(FitParam::kb, r), "kb fitted", "fitted kb",
                     false));
        Add(TextBox(kExpr, "TextCmin", FitSlot(FitParam::kb, r), "kb min", "mininum kb", "0.001"));
        Add(TextBox(kExpr, "TextCmax", FitSlot(FitParam::kb, r), "kb max", "maxinum kb", "1"));
    }
    // Only the bounds of checked fit slots are shown: at start-up those of slot 1.
    for (int s = 2; s <= kFitSlots; ++s) {
        Get("TextCmin", s).Shown = false;
        Get("TextCmax", s).Shown = false;
    }

    // Instrumental parameters.
    Add(TextBox(kExpr, "Estart", kNoRow, "E start (V)", "starting potential", "0.3"));
    Add(TextBox(kExpr, "Eend", kNoRow, "E end  (V)", "ending potential", "-0.3"));
    Add(TextBox(kExpr, "Estep", kNoRow, "E step (V)", "potential step", "0.005"));
    Add(TextBox(kExpr, "V", kNoRow, "v (V/s)", "scan rate", "0.01"));
    Add(TextBox(kExpr, "tp", kNoRow, "t pulse (s)", "pulse time width", "0.05"));
    Add(TextBox(kExpr, "td", kNoRow, "t drop  (s)", "drop time", "0.5"));
    Add(TextBox(kExpr, "Epulse", kNoRow, "E pulse (V)", "pulse potential", "-0.05"));
    Add(TextBox(kExpr, "TextF", kNoRow, "f (Hz)", "frequence", "10"));
    Add(TextBox(kExpr, "txttemp", kNoRow,
                "T ( \xC2\xB0"
                "C)",
                "temperature", "25"));
    Add(TextBox(kExpr, "Noise", kNoRow, "Noise (%)", "ratio of noise to maxinum signal", "0"));
    Add(TextBox(kExpr, "Cdl", kNoRow, "C dl (F)", "double layer capacitor", "0"));
    Add(TextBox(kExpr, "Ru", kNoRow, "R (\xCE\xA9)", "resistance", "0"));
    Add(ListBox(kExpr, "ComboScan", kNoRow, "Scan", "scan mode",
                {kScanModes[0], kScanModes[1], kScanModes[2]}));
    Add(CheckBox(kExpr, "CheckRefined", kNoRow, "refined accuracy",
                 "finer grid and time steps, every sampling instant resolved and the microdisc in "
                 "two dimensions, so that the currents agree with theory (slower)",
                 false));

    // Electrode.
    {
        std::vector<std::string> captions(kElectrodeCaptions.begin(), kElectrodeCaptions.end());
        Control& g = Add(OptionGroup(kExpr, "optElectrode", captions, {}));
        g.EntryEnabled[6] = false;  // thin film and rotating disk: not with digital simulation
        g.EntryEnabled[7] = false;
    }
    Add(LabelBox(kExpr, "LabelRadius", kNoRow, "", "", "Radius (cm)")).Shown = false;
    Add(TextBox(kExpr, "radius", kNoRow, "Radius (cm)", "electrode radius", "0.2821")).Shown =
        false;
    Add(LabelBox(kExpr, "LabelLength", kNoRow, "", "", "Length (cm)")).Shown = false;
    Add(TextBox(kExpr, "leng", kNoRow, "Length (cm)", "electrode length or film thickness", "0.01"))
        .Shown = false;
    Add(TextBox(kExpr, "ARE", kNoRow, "Area (cm \xC2\xB2)", "electrode area", "1"));
    Add(LabelBox(kExpr, "LabelRrate", kNoRow, "", "", "Rotation (rpm):")).Shown = false;
    Add(TextBox(kExpr, "TextRrate", kNoRow, "Rotation (rpm):", "electrode rotation rate", "100"))
        .Shown = false;
    Add(TextBox(kExpr, "TextDis", kNoRow, "Dis (cm)", "Distance", "1"));

    // Electrolyte.
    Add(LabelBox(kExpr, "LabelVis", kNoRow, "", "", "Vis (cm \xC2\xB2/s)")).Shown = false;
    Add(TextBox(kExpr, "TextVis", kNoRow, "Vis (cm \xC2\xB2/s)", "kinematic viscosity of solution",
                "0.01"))
        .Shown = false;
    Add(TextBox(kExpr, "TextElectrolyteCond", kNoRow, "Cond", "support electrolyte conductivity",
                "100"));
    Add(TextBox(kExpr, "TextElectrolyteC", kNoRow, "C (M)", "support electrolyte concentration",
                "0.01"));

    // Preconcentration.
    Add(CheckBox(kExpr, "CheckPreEqu", kNoRow, "pre-equilibration", "", true));
    Add(CheckBox(kExpr, "CheckPreCon", kNoRow, "Preconcentration", "", false));
    {
        Control frame = LabelBox(kExpr, "FramePre", kNoRow, "", "", "");
        frame.Kind = ControlKind::Frame;
        frame.Shown = false;  // shown only while preconcentration is checked
        Add(frame);
    }
    Add(TextBox(kExpr, "txtEPre", kNoRow, "E pre (V)", "preconcentration potential", "-0.3"));
    Add(TextBox(kExpr, "txtTPre", kNoRow, "t pre (s)", "preconcentration time", "600"));
    Add(TextBox(kExpr, "txtRStir", kNoRow, "R stir  (rpm)", "stirring rate", "100"));
    Add(TextBox(kExpr, "txtPconst", kNoRow, "P const", "electrode constant", "10"));
    Add(TextBox(kExpr, "txtTpreconst", kNoRow, "t pre const (/s)", "preconcentration time constant",
                "1e-3"));

    // Technique dialog.
    Add(CheckBox(kTech, "CheckDigital", kNoRow, "digital simulation", "", true));
    Add(OptionGroup(kTech, "optTech",
                    std::vector<std::string>(kTechniqueCaptions.begin(), kTechniqueCaptions.end()),
                    {}));

    // Mechanism dialog.
    {
        std::vector<std::string> captions, tips;
        for (const auto& m : kMechanisms) {
            captions.emplace_back(m.Caption);
            tips.emplace_back(m.ToolTip);
        }
        Control& g = Add(OptionGroup(kMech, "mech", captions, tips));
        // As designed, only the mechanisms of the closed-form currents are offered.
        for (int k = 1; k <= 17; ++k)
            g.EntryEnabled[static_cast<size_t>(k - 1)] = MechanismOf(k).ClosedForm;
    }

    // Plot-option dialog.
    Add(CheckBox(kOption, "CheckGrid", kNoRow, "Grid", "", false));
    Add(CheckBox(kOption, "overlap", kNoRow, "Overlap", "overlap plot", false));
    // Line styles of curves 1..5 (element k = 0..4): dots, squares, line. The start-up choice
    // is the connected line, the usual way to show a voltammogram.
    const char* styleCaptions[] = {"...........", "oooooo", "______"};
    for (int k = 0; k <= 4; ++k) {
        for (int s = 1; s <= 3; ++s) {
            Control b = CheckBox(kOption, "linestyle" + std::to_string(s), k, styleCaptions[s - 1],
                                 "", s == 3);
            b.Kind = ControlKind::OptionButton;
            b.Group = "Curve " + std::to_string(k + 1);
            Add(b);
        }
    }
    {
        std::vector<std::string> quantities;
        for (const YQuantityInfo& q : kYQuantities) quantities.emplace_back(q.Caption);
        Add(ListBox(kOption, "ComboY", kNoRow, "Y", "quantity on the Y axis", quantities));
    }
    Add(CheckBox(kOption, "CheckXdir", kNoRow, "X direction: + -> -",
                 "X axis Direction from positive to negative", true));
    Add(CheckBox(kOption, "Yauto", kNoRow, "Y auto", "auto scale of Y axis ", true));
    Add(CheckBox(kOption, "Xauto", kNoRow, "X auto", "auto scale of X axis ", true));
    Add(TextBox(kOption, "XminText", kNoRow, "X min", "mininum X value", "-0.3")).Shown = false;
    Add(TextBox(kOption, "XmaxText", kNoRow, "X max", "maxinum X value", "0.3")).Shown = false;
    Add(TextBox(kOption, "YminText", kNoRow, "Y min", "mininum Y value", "-1e-3")).Shown = false;
    Add(TextBox(kOption, "YmaxText", kNoRow, "Y max", "maxinum Y value", "1e-3")).Shown = false;
}

Control* InputRecord::Find(const std::string& name, int row) {
    auto it = index_.find(Key(name, row));
    return it == index_.end() ? nullptr : &controls_[it->second];
}

const Control* InputRecord::Find(const std::string& name, int row) const {
    auto it = index_.find(Key(name, row));
    return it == index_.end() ? nullptr : &controls_[it->second];
}

Control& InputRecord::Get(const std::string& name, int row) {
    Control* c = Find(name, row);
    if (!c) throw std::out_of_range("no control " + Key(name, row));
    return *c;
}

const Control& InputRecord::Get(const std::string& name, int row) const {
    const Control* c = Find(name, row);
    if (!c) throw std::out_of_range("no control " + Key(name, row));
    return *c;
}

const std::string& InputRecord::TextOf(const std::string& name, int row) const {
    return Get(name, row).Text;
}
const std::string& InputRecord::CaptionOf(const std::string& name, int row) const {
    return Get(name, row).Caption;
}
bool InputRecord::IsChecked(const std::string& name, int row) const {
    return Get(name, row).Checked;
}
bool InputRecord::IsShown(const std::string& name, int row) const {
    return Get(name, row).Shown;
}
int InputRecord::SelectedOf(const std::string& name, int row) const {
    return Get(name, row).Selected;
}

std::string InputRecord::ListText(const std::string& name, int row) const {
    const Control& c = Get(name, row);
    if (c.Selected < 0 || c.Selected >= static_cast<int>(c.Entries.size())) return "";
    return c.Entries[static_cast<size_t>(c.Selected)];
}

void InputRecord::Raise(const Control& c) {
    if (OnChange) OnChange(c.Name, c.Row);
}

void InputRecord::SetText(const std::string& name, int row, const std::string& text) {
    Control& c = Get(name, row);
    if (c.Text == text) return;
    c.Text = text;
    Raise(c);
}

void InputRecord::SetCaption(const std::string& name, int row, const std::string& caption) {
    Control& c = Get(name, row);
    if (c.Caption == caption) return;
    c.Caption = caption;
    Raise(c);
}

void InputRecord::SetChecked(const std::string& name, int row, bool checked) {
    Control& c = Get(name, row);
    if (c.Checked == checked) return;
    c.Checked = checked;
    Raise(c);
}

void InputRecord::Select(const std::string& name, int entry) {
    Control& c = Get(name);
    if (entry < 1 || entry > static_cast<int>(c.Entries.size()))
        throw std::out_of_range("no entry " + std::to_string(entry) + " of " + name);
    c.Selected = entry;
    Raise(c);
}

void InputRecord::SelectButton(const std::string& name, int row) {
    Control& b = Get(name, row);
    for (Control& other : controls_)
        if (other.Kind == ControlKind::OptionButton && other.Group == b.Group)
            other.Checked = false;
    b.Checked = true;
    Raise(b);
}

void InputRecord::SetListIndex(const std::string& name, int row, int index) {
    Control& c = Get(name, row);
    if (index < 0 || index >= static_cast<int>(c.Entries.size()))
        throw std::out_of_range("no entry " + std::to_string(index) + " of " + name);
    if (c.Selected == index) return;
    c.Selected = index;
    Raise(c);
}

void InputRecord::SetShown(const std::string& name, int row, bool shown) {
    Get(name, row).Shown = shown;
}
void InputRecord::SetEnabled(const std::string& name, int row, bool enabled) {
    Get(name, row).Enabled = enabled;
}
void InputRecord::SetReadOnly(const std::string& name, int row, bool readOnly) {
    Get(name, row).ReadOnly = readOnly;
}

void InputRecord::SetEntryEnabled(const std::string& name, int entry, bool enabled) {
    Control& c = Get(name);
    if (entry >= 1 && entry <= static_cast<int>(c.EntryEnabled.size()))
        c.EntryEnabled[static_cast<size_t>(entry - 1)] = enabled;
}

bool InputRecord::IsEntryEnabled(const std::string& name, int entry) const {
    const Control& c = Get(name);
    return entry >= 1 && entry <= static_cast<int>(c.EntryEnabled.size()) &&
           c.EntryEnabled[static_cast<size_t>(entry - 1)];
}

}  // namespace zemra
