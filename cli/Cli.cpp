#include "cli/Cli.h"

#include <algorithm>
#include <cmath>
#include <ostream>

#include "commands/CommandTable.h"
#include "commands/Commands.h"
#include "commands/SheetLayout.h"
#include "platform/NumberText.h"
#include "platform/SvgCanvas.h"
#include "platform/TextFile.h"

namespace zemra {
namespace {

struct Token {
    std::string Name;
    int Row = kNoRow;
    bool HasValue = false;
    std::string Value;
    bool Valid = true;
};

Token ParseToken(const std::string& text) {
    Token t;
    const size_t eq = text.find('=');
    std::string left = text.substr(0, eq);
    if (eq != std::string::npos) {
        t.HasValue = true;
        t.Value = text.substr(eq + 1);
    }
    const size_t open = left.find('(');
    if (open != std::string::npos) {
        if (left.back() != ')') {
            t.Valid = false;
            return t;
        }
        const auto row = StrictNumber(left.substr(open + 1, left.size() - open - 2));
        // Range first, so that no out-of-range value is ever converted to int.
        if (!row || std::fabs(*row) > 1e6 || *row != std::trunc(*row)) {
            t.Valid = false;
            return t;
        }
        t.Row = static_cast<int>(*row);
        left = left.substr(0, open);
    }
    t.Name = left;
    t.Valid = !left.empty();
    return t;
}

// Pixel size of the pictures that PlotSvg writes.
constexpr int kSvgWidth = 800;
constexpr int kSvgHeight = 600;

// A refused token as the one-line reason names it: long tokens (a pasted file, a field of
// thousands of digits) are cut to their first 80 characters, never inside a UTF-8 character.
std::string Shortened(const std::string& token) {
    constexpr size_t kShown = 80;
    if (token.size() <= kShown) return token;
    size_t cut = kShown;
    while (cut > 0 && (static_cast<unsigned char>(token[cut]) & 0xC0) == 0x80) --cut;
    return token.substr(0, cut) + "...";
}

constexpr const char* kHelpHint = "zemra-cli --help lists the commands\n";

std::string Describe(const Control& c) {
    return c.Row == kNoRow ? c.Name : c.Name + "(" + std::to_string(c.Row) + ")";
}

// Sets a control as a user would; returns the reason when the desktop would not allow it.
std::string ApplySetting(Workbench& wb, const Control& c, const std::string& value) {
    const std::string who = Describe(c);
    if (!c.Enabled) return who + " is disabled";
    switch (c.Kind) {
        case ControlKind::Text:
            if (c.ReadOnly) return who + " is read-only";
            wb.Input.SetText(c.Name, c.Row, value);
            return "";
        case ControlKind::Label:
        case ControlKind::Frame:
            return who + " is written by the program and cannot be typed into";
        case ControlKind::Check:
            if (value != "0" && value != "1") return who + " takes 0 or 1";
            wb.Input.SetChecked(c.Name, c.Row, value == "1");
            return "";
        case ControlKind::OptionButton:
            if (value != "1") return who + " is selected with 1";
            wb.Input.SelectButton(c.Name, c.Row);
            return "";
        case ControlKind::OptionGroup: {
            const auto k = StrictNumber(value);
            const int count = static_cast<int>(c.Entries.size());
            if (!k || *k < 1 || *k > count || *k != std::trunc(*k))
                return who + " takes an entry number from 1 to " + std::to_string(count);
            const int entry = static_cast<int>(*k);
            if (!wb.Input.IsEntryEnabled(c.Name, entry))
                return "entry " + std::to_string(entry) + " of " + who + " (\"" +
                       c.Entries[static_cast<size_t>(entry - 1)] + "\") is disabled";
            wb.Input.Select(c.Name, entry);
            return "";
        }
        case ControlKind::List:
            for (size_t i = 0; i < c.Entries.size(); ++i) {
                if (c.Entries[i] == value) {
                    wb.Input.SetListIndex(c.Name, c.Row, static_cast<int>(i));
                    return "";
                }
            }
            {
                std::string entries;
                for (const auto& e : c.Entries)
                    entries += (entries.empty() ? "\"" : ", \"") + e + "\"";
                return who + " takes one of " + entries;
            }
    }
    return who + " cannot be set";
}

// ImportCycle=N|last|all and ImportSign=file|zemra; the refusal, or "" when taken.
std::string ApplyImportChoice(ImportChoice& choice, const std::string& name,
                              const std::string& value) {
    if (name == "ImportSign") {
        if (value != "file" && value != "zemra") return "ImportSign takes file or zemra";
        choice.FileSign = value == "file";
        return "";
    }
    if (value == "last" || value == "all") {
        choice.Cycle = value == "last" ? ImportChoice::kLastComplete : ImportChoice::kAll;
        return "";
    }
    const auto n = StrictNumber(value);
    if (!n || *n < 1 || *n > 1e6 || *n != std::trunc(*n))
        return "ImportCycle takes a cycle number from 1, last or all";
    choice.Cycle = static_cast<int>(*n);
    return "";
}

}  // namespace

std::string CliUsage() {
    // The command names, wrapped to lines of at most 80 columns.
    std::string commands, line = " ";
    for (const auto& c : CommandTable()) {
        const std::string name = c.Name + (c.TakesFile ? "=FILE" : "");
        if (line.size() + 1 + name.size() > 80) {
            commands += line + "\n";
            line.resize(1);  // a new line of names starts with its indent
        }
        line += " " + name;
    }
    commands += line;
    return "usage: zemra-cli [--keep-going] TOKEN...\n"
           "Works like a user at the desktop, token by token, left to right.\n"
           "  NAME=VALUE         set a control and run its change handler: Estart=0.2,\n"
           "                     CheckDigital=0, optTech=3, mech=7, ComboScan=cycle\n"
           "  NAME(ROW)=VALUE    set a row control: 'D(2)=2e-5' 'NEL(1)=2' 'CheckFitted(5)=1'\n"
           "                     text boxes take the text, check boxes 0 or 1, option groups the\n"
           "                     entry number, lists the entry text\n"
           "  COMMAND            run a menu item or dialog button:\n" +
           commands +
           "\n  Open=FILE          read a parameter file that Save wrote back onto the sheet"
           "\n  SaveExperiment=FILE, OpenExperiment=FILE  the whole workbench (sheet, curves,"
           "\n                     plot options, results) as a JSON experiment file"
           "\n  PlotSvg=FILE       write the plot window's current picture as an SVG file" +
           "\n  ImportCycle=N      the cycle of a measured file that a later Import takes: a "
           "number,\n"
           "                     last (the last complete cycle, the default) or all\n"
           "  ImportSign=file    a later Import keeps the file's current sign (anodic positive);\n"
           "                     ImportSign=zemra turns it to reduction positive (the default)" +
           "\nResult-window lines go to standard output; each message box to standard error as\n"
           "'message: TEXT'. A message box reports an error and ends the run after its token, as\n"
           "a person who sees the error would not go on; --keep-going runs on to the last token.\n"
           "Exit status 0, 1 after an error message, 2 for a token not known or not allowed.\n";
}

int RunCli(const std::vector<std::string>& tokens, std::ostream& out, std::ostream& err) {
    HeadlessHost host;
    // The drawing is kept only for a run that writes it out as a picture.
    const bool drawn = std::any_of(tokens.begin(), tokens.end(), [](const std::string& t) {
        return ParseToken(t).Name == "PlotSvg";
    });
    PictureCanvas canvas;
    DiscardingCanvas discarded;
    Workbench wb(host, drawn ? static_cast<Canvas&>(canvas) : discarded);
    StartUp(wb);
    bool reported = false;
    host.OnMessage = [&](const std::string& text) {
        err << "message: " << text << "\n";
        reported = true;
    };
    wb.Result.OnPrint = [&](const std::string& line) { out << line << "\n"; };
    wb.About.OnPrint = wb.Result.OnPrint;

    const bool keepGoing = !tokens.empty() && tokens.front() == "--keep-going";
    bool previousWasSheet = false;
    for (size_t k = keepGoing ? 1 : 0; k < tokens.size(); ++k) {
        // An error stops the run before the next token: a command after a failed one would work
        // on what the failure left (an import that read nothing, an export of an empty store).
        if (reported && !keepGoing) return 1;
        const std::string& text = tokens[k];
        if (text == "--help" || text == "-h") {
            out << CliUsage();
            return 0;
        }
        const Token t = ParseToken(text);
        const Control* c = t.Valid ? wb.Input.Find(t.Name, t.Row) : nullptr;
        if (c && t.HasValue) {
            const bool sheet = c->Form == "FormExpr";
            if (sheet && !previousWasSheet) ActivateSheet(wb);
            const std::string refusal = ApplySetting(wb, *c, t.Value);
            if (!refusal.empty()) {
                err << "zemra-cli: " << Shortened(text) << ": " << refusal << "\n" << kHelpHint;
                return 2;
            }
            previousWasSheet = sheet;
            continue;
        }
        if (t.Valid && (t.Name == "ImportCycle" || t.Name == "ImportSign") && t.HasValue &&
            t.Row == kNoRow) {
            const std::string refusal = ApplyImportChoice(wb.Import, t.Name, t.Value);
            if (!refusal.empty()) {
                err << "zemra-cli: " << Shortened(text) << ": " << refusal << "\n" << kHelpHint;
                return 2;
            }
            previousWasSheet = false;
            continue;
        }
        if (t.Valid && t.Name == "PlotSvg" && t.HasValue && t.Row == kNoRow) {
            // The picture the plot window shows: what was drawn since its last clear.
            SvgCanvas svg(kSvgWidth, kSvgHeight);
            ReplayLastDrawing(canvas, svg);
            try {
                WriteTextFile(t.Value, svg.Document());
            } catch (const RuntimeError& e) {
                host.MessageBox("PlotSvg Error: " + e.Description());
            }
            previousWasSheet = false;
            continue;
        }
        const CommandInfo* cmd = t.Valid && t.Row == kNoRow ? FindCommand(t.Name) : nullptr;
        if (cmd && (!t.HasValue || cmd->TakesFile)) {
            host.FileAnswers.clear();
            if (t.HasValue) host.FileAnswers.push_back(t.Value);
            // The sheet's own OK button can only be pressed with the sheet in front.
            if (cmd->OnSheet && !previousWasSheet) ActivateSheet(wb);
            cmd->Run(wb);
            host.FileAnswers.clear();
            previousWasSheet = false;
            continue;
        }
        err << "zemra-cli: unknown token '" << Shortened(text) << "'\n" << kHelpHint;
        return 2;
    }
    return reported ? 1 : 0;
}

}  // namespace zemra
