#include "app/Session.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "emulator/core/Dump.h"
#include "emulator/core/Host.h"
#include "emulator/core/SuiteRegistry.h"
#include "emulator/core/Unicode.h"
#include "emulator/picture/ViewPicture.h"
#include "emulator/svg/SvgExport.h"
#include "emulator/svg/SvgImport.h"
#include "plugin/host/Platform.h"
#include "plugin/host/PluginSuites.h"

namespace app {
namespace {

struct CommandShape {
    std::size_t minimum;
    std::size_t maximum;
    bool numeric;  // every argument is a number
};

const std::map<std::string, CommandShape>& Commands() {
    static const std::map<std::string, CommandShape> commands = {
        {"doc", {1, 1, false}},  {"new", {2, 2, true}},     {"tool", {1, 1, false}},
        {"keys", {0, 7, false}}, {"move", {2, 2, true}},    {"down", {2, 2, true}},
        {"drag", {2, 2, true}},  {"up", {2, 2, true}},      {"click", {2, 2, true}},
        {"zoom", {1, 1, true}},  {"picker", {1, 6, false}}, {"notify", {1, 1, false}},
        {"view", {1, 1, false}}, {"save", {1, 1, false}},   {"layer", {1, 64, false}},
        {"undo", {0, 0, false}}, {"redo", {0, 0, false}},
    };
    return commands;
}

// The toolbox names of the tools a session can choose (Windows-1252).
const std::map<std::string, std::string>& ToolNames() {
    static const std::map<std::string, std::string> tools = {
        {"segment", "Outil Segment"},
        {"angle", "Outil Angle"},
        {"circle", "Outil Cercle"},
        {"bezier", emulator::Windows1252FromUtf8("Outil Bézier")},
        {"areas", "Outil Longueur & Aires"},
        {"select", "Select Tool"},
    };
    return tools;
}

const std::map<std::string, platform::Key>& KeyNames() {
    static const std::map<std::string, platform::Key> keys = {
        {"shift", platform::Key::Shift},       {"alt", platform::Key::Alt},
        {"ctrl", platform::Key::Ctrl},         {"esc", platform::Key::Esc},
        {"space", platform::Key::Space},       {"lshift", platform::Key::LeftShift},
        {"rshift", platform::Key::RightShift},
    };
    return keys;
}

const std::map<std::string, std::string>& Notifications() {
    static const std::map<std::string, std::string> notifications = {
        {"selection", kAIArtSelectionChangedNotifier},
        {"opened", kAIDocumentOpenedNotifier},
        {"customcolor", kAIArtCustomColorChangedNotifier},
    };
    return notifications;
}

bool ParseNumber(const std::string& text, double* value) {
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    in >> *value;
    return in && in.peek() == std::char_traits<char>::eof() && std::isfinite(*value);
}

std::string CheckArguments(const SessionLine& line) {
    const std::vector<std::string>& a = line.arguments;
    if (line.command == "tool" && ToolNames().count(a[0]) == 0) {
        return "unknown tool \"" + a[0] + "\" (segment, angle, circle, bezier, areas, select)";
    }
    if (line.command == "keys") {
        for (const std::string& key : a) {
            if (KeyNames().count(key) == 0) {
                return "unknown key \"" + key + "\" (shift alt ctrl esc space lshift rshift)";
            }
        }
    }
    if (line.command == "notify" && Notifications().count(a[0]) == 0) {
        return "unknown notification \"" + a[0] + "\" (selection, opened, customcolor)";
    }
    if (line.command == "picker") {
        static const std::map<std::string, std::size_t> forms = {
            {"gray", 1}, {"rgb", 3}, {"cmyk", 4}, {"spot", 1}, {"cancel", 0}};
        const auto form = forms.find(a[0]);
        // A spot colour may come with the CMYK values it gets when the document lacks it.
        const bool spotWithValues = a[0] == "spot" && a.size() == 6;
        if (form == forms.end() || (a.size() - 1 != form->second && !spotWithValues)) {
            return "picker takes gray G, rgb R G B, cmyk C M Y K, spot NAME [C M Y K] or cancel";
        }
        double value = 0;
        for (std::size_t i = a[0] == "spot" ? 2 : 1; i < a.size(); ++i) {
            if (!ParseNumber(a[i], &value) || value < 0 || value > 1) {
                return "colour components run from 0 to 1: " + a[i];
            }
        }
    }
    if (line.command == "view" && !emulator::ViewPicturesAvailable()) {
        return "view pictures are made by the Linux build of mesra only";
    }
    if (line.command == "view" && !emulator::PictureFormatOf(a[0])) {
        return "view writes a .png or .svg file: " + a[0];
    }
    if (line.command == "zoom") {
        // The range of an illustration program's view: 3.13 % to 64,000 %.
        double zoom = 0;
        ParseNumber(a[0], &zoom);
        if (!(zoom >= 0.0313 && zoom <= 640)) {
            return "the zoom runs from 0.0313 to 640 (3.13 % to 64,000 %): " + a[0];
        }
    }
    if (line.command == "new") {
        double w = 0, h = 0;
        ParseNumber(a[0], &w);
        ParseNumber(a[1], &h);
        if (!(w > 0 && h > 0)) {
            return "a new document needs a width and a height above 0";
        }
    }
    return {};
}

class Runner {
  public:
    Runner(emulator::Host& host, std::filesystem::path folder, std::ostream& err)
        : host_(host), folder_(std::move(folder)), err_(err) {}

    // Opens the artwork of an SVG file as the current document. A file that is not there
    // is a bad line (2); one the host refuses to read (not SVG, damaged, an entity bomb) is
    // a failure of the host (1).
    int Open(const std::filesystem::path& file, int line) {
        std::string error;
        auto document = emulator::ReadSvgFile(file, &error);
        if (document == nullptr) {
            err_ << "mesra: ";
            if (line > 0) {
                err_ << "line " << line << ": ";
            }
            err_ << error << "\n";
            std::error_code ignored;
            return std::filesystem::is_regular_file(file, ignored) ? 1 : 2;
        }
        host_.OpenDocument(std::move(document));
        return Check(line, host_.Notify(kAIDocumentOpenedNotifier));
    }

    // Carries out one line; returns the exit status it calls for, or 0 to go on.
    int Run(const SessionLine& line) {
        const std::vector<std::string>& a = line.arguments;
        if (line.command == "doc") {
            const std::filesystem::path file = emulator::PathFromUtf8(a[0]);
            return Open(file.is_absolute() ? file : folder_ / file, line.number);
        }
        if (line.command == "new") {
            host_.NewDocument(Number(a[0]), Number(a[1]));
            return Check(line, host_.Notify(kAIDocumentOpenedNotifier));
        }
        if (line.command == "tool") {
            return Check(line, host_.SelectToolByName(ToolNames().at(a[0])));
        }
        if (line.command == "keys") {
            std::set<ASInt32> keys;
            for (const std::string& key : a) {
                keys.insert(static_cast<ASInt32>(KeyNames().at(key)));
            }
            host_.SetKeys(std::move(keys));
            return 0;
        }
        if (line.command == "zoom") {
            if (emulator::Document* document = NeedDocument(line)) {
                document->view.zoom = Number(a[0]);
                host_.Redraw();
                return 0;
            }
            return 2;
        }
        if (line.command == "layer") {
            return ChooseLayer(line);
        }
        if (line.command == "notify") {
            return Check(line, host_.Notify(Notifications().at(a[0])));
        }
        if (line.command == "picker") {
            host_.SetPickerAnswer(a);
            return 0;
        }
        if (line.command == "undo" || line.command == "redo") {
            return Replay(line);
        }
        static const std::set<std::string> events = {"move", "down", "drag", "up", "click"};
        if (events.count(line.command) != 0) {
            emulator::Document* document = NeedDocument(line);
            if (document == nullptr) {
                return 2;
            }
            // The host keeps coordinates in single precision: beyond its range a point is
            // no point at all.
            const double x = Number(a[0]);
            const double y = Number(a[1]);
            if (!document->HasArtworkPoint(x, y)) {
                err_ << "mesra: line " << line.number << ": " << a[0] << " " << a[1]
                     << " lies beyond what the host can represent\n";
                return 2;
            }
            const AIRealPoint point = document->ToArtwork(x, y);
            const std::vector<std::string> selectors =
                line.command == "click" ? std::vector<std::string>{"move", "down", "up"}
                                        : std::vector<std::string>{line.command};
            for (const std::string& event : selectors) {
                if (int status = Check(line, host_.ToolEvent(event, point))) {
                    return status;
                }
            }
            return 0;
        }
        // save, view
        const emulator::Document* document = NeedDocument(line);
        if (document == nullptr) {
            return 2;
        }
        const std::filesystem::path file = emulator::PathFromUtf8(a[0]);
        const std::filesystem::path resolved = file.is_absolute() ? file : folder_ / file;
        return line.command == "save" ? Save(*document, resolved, line.number)
                                      : View(*document, resolved, line.number);
    }

    // Writes the document as SVG; returns the exit status it calls for, or 0.
    int Save(const emulator::Document& document, const std::filesystem::path& file, int line) {
        std::string error;
        return Written(emulator::WriteSvgFile(document, file, &error), error, line);
    }

    // Writes the view as the user sees it, the annotators' last drawing over the artwork;
    // returns the exit status it calls for, or 0.
    int View(const emulator::Document& document, const std::filesystem::path& file, int line) {
        std::string error;
        return Written(emulator::WriteViewPicture(document, host_.LastAnnotation(), file, &error),
                       error, line);
    }

    // The exit status of a file written or not, with what went wrong said on the line it
    // came from (0: the command line).
    int Written(bool written, const std::string& error, int line) {
        if (written) {
            return 0;
        }
        err_ << "mesra: ";
        if (line > 0) {
            err_ << "line " << line << ": ";
        }
        err_ << error << "\n";
        return 1;
    }

    // Writes the JSON dump of the document; returns the exit status it calls for, or 0.
    int Dump(const emulator::Document& document, const std::filesystem::path& file) {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << emulator::DumpJson(document);
        out.close();
        if (!out) {
            err_ << "mesra: " << emulator::Utf8FromPath(file) << ": cannot be written\n";
            return 1;
        }
        return 0;
    }

  private:
    // Undoes or redoes the last action. One that cannot be carried out does nothing, as
    // Ctrl+Z in a host, and says why on the output, in French as the host's own messages:
    // nothing to take back (nothing done since the document was opened, or everything taken
    // back already), or the mouse button down.
    int Replay(const SessionLine& line) {
        if (NeedDocument(line) == nullptr) {
            return 2;
        }
        const bool undo = line.command == "undo";
        using Outcome = emulator::Host::UndoOutcome;
        const Outcome outcome = undo ? host_.Undo() : host_.Redo();
        const std::string where = " (ligne " + std::to_string(line.number) + ")";
        if (outcome == Outcome::NothingToDo) {
            host_.Emit(line.command + (undo ? ": rien à annuler" : ": rien à rétablir") + where);
        } else if (outcome == Outcome::ButtonDown) {
            host_.Emit(line.command + ": pas pendant que le bouton de la souris est enfoncé" +
                       where);
        }
        return 0;
    }

    // Makes the layer whose title is the line's words, joined by single spaces, the current
    // layer; an unknown title is a bad line.
    int ChooseLayer(const SessionLine& line) {
        emulator::Document* document = NeedDocument(line);
        if (document == nullptr) {
            return 2;
        }
        std::string title;
        for (const std::string& word : line.arguments) {
            title += title.empty() ? "" : " ";
            title += word;
        }
        for (const auto& layer : document->layers) {
            if (layer->title == title) {
                document->currentLayer = layer.get();
                return 0;
            }
        }
        err_ << "mesra: line " << line.number << ": the document has no layer \"" << title
             << "\"\n";
        return 2;
    }

    static double Number(const std::string& text) {
        double value = 0;
        ParseNumber(text, &value);
        return value;
    }

    emulator::Document* NeedDocument(const SessionLine& line) {
        emulator::Document* document = host_.CurrentDocument();
        if (document == nullptr) {
            err_ << "mesra: line " << line.number << ": no document is open (new W H)\n";
        }
        return document;
    }

    int Check(const SessionLine& line, ASErr result) { return Check(line.number, result); }

    int Check(int line, ASErr result) {
        if (result != 0) {
            err_ << "mesra: ";
            if (line > 0) {
                err_ << "line " << line << ": ";
            }
            err_ << "the host answered error " << result << "\n";
            return 1;
        }
        return 0;
    }

    emulator::Host& host_;
    std::filesystem::path folder_;
    std::ostream& err_;
};

}  // namespace

std::optional<int> SessionKeyCode(const std::string& name) {
    const auto key = KeyNames().find(name);
    if (key == KeyNames().end()) {
        return std::nullopt;
    }
    return static_cast<int>(key->second);
}

std::optional<std::vector<SessionLine>> ParseSession(const std::string& text, SessionError* error) {
    std::vector<SessionLine> lines;
    std::istringstream in(text);
    std::string raw;
    int number = 0;
    while (std::getline(in, raw)) {
        ++number;
        raw = raw.substr(0, raw.find('#'));
        std::istringstream words(raw);
        SessionLine line;
        line.number = number;
        if (!(words >> line.command)) {
            continue;
        }
        for (std::string word; words >> word;) {
            line.arguments.push_back(word);
        }
        const auto shape = Commands().find(line.command);
        if (shape == Commands().end()) {
            *error = {number, "unknown command \"" + line.command + "\""};
            return std::nullopt;
        }
        if (line.arguments.size() < shape->second.minimum ||
            line.arguments.size() > shape->second.maximum) {
            *error = {number, "wrong number of arguments for \"" + line.command + "\""};
            return std::nullopt;
        }
        double value = 0;
        for (const std::string& argument : line.arguments) {
            if (shape->second.numeric && !ParseNumber(argument, &value)) {
                *error = {number, "not a number: \"" + argument + "\""};
                return std::nullopt;
            }
        }
        if (std::string problem = CheckArguments(line); !problem.empty()) {
            *error = {number, problem};
            return std::nullopt;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

int RunSession(const std::vector<SessionLine>& lines, const std::filesystem::path& plugin,
               const CommandLine& options, std::ostream& out, std::ostream& err) {
    emulator::Host host;
    host.SetEventSink([&out](const std::string& line) { out << line << "\n"; });
    std::string error;
    if (!host.LoadPlugin(plugin, &error)) {
        err << "mesra: cannot load the plug-in: " << error << "\n";
        return 1;
    }
    if (host.Startup() != 0 || host.Notify(kAIApplicationStartedNotifier) != 0) {
        err << "mesra: the plug-in did not start\n";
        return 1;
    }
    Runner runner(host, emulator::PathFromUtf8(options.session).parent_path(), err);
    int status = 0;
    if (!options.document.empty()) {
        status = runner.Open(emulator::PathFromUtf8(options.document), 0);
    }
    for (std::size_t i = 0; status == 0 && i < lines.size(); ++i) {
        status = runner.Run(lines[i]);
    }
    const bool writes = !options.output.empty() || !options.dump.empty() || !options.view.empty();
    if (status == 0 && writes && host.CurrentDocument() == nullptr) {
        err << "mesra: --out, --dump and --view need a document (doc FILE.svg, new W H or "
               "--doc)\n";
        status = 2;
    }
    if (status == 0 && !options.output.empty()) {
        status = runner.Save(*host.CurrentDocument(), emulator::PathFromUtf8(options.output), 0);
    }
    if (status == 0 && !options.dump.empty()) {
        status = runner.Dump(*host.CurrentDocument(), emulator::PathFromUtf8(options.dump));
    }
    if (status == 0 && !options.view.empty()) {
        status = runner.View(*host.CurrentDocument(), emulator::PathFromUtf8(options.view), 0);
    }
    host.Quit();
    for (const std::string& violation : host.Violations()) {
        err << "mesra: host: " << violation << "\n";
        status = status != 0 ? status : 1;
    }
    return status;
}

}  // namespace app
