#include "app/WebSession.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <set>

#include "app/AnnotationSvg.h"
#include "app/ReadingReasons.h"
#include "app/Session.h"
#include "emulator/core/Decimal.h"
#include "emulator/core/Dump.h"
#include "emulator/core/Unicode.h"
#include "emulator/svg/SvgExport.h"
#include "emulator/svg/SvgImport.h"
#include "plugin/host/PluginSuites.h"

namespace app {
namespace {

// The click sounds the plug-in plays, beside it.
const std::set<std::string, std::less<>>& SoundNames() {
    static const std::set<std::string, std::less<>> names = {"BipPoint.wav", "BipSegment.wav",
                                                             "BipArc.wav", "BipBezier.wav"};
    return names;
}

std::string Number(double value) {
    return emulator::FormatDecimal(value, 6);
}

// The name of an uploaded file without its folder and extension, as UTF-8 text (a byte
// that is none becomes U+FFFD) without control characters.
std::string StemOf(const std::string& name) {
    std::string stem = emulator::Utf8FromUtf16(
        emulator::Utf16FromUtf8(std::filesystem::path(name).stem().string()));
    std::erase_if(stem, [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
    if (stem.size() > 4 && stem.compare(stem.size() - 4, 4, ".svg") == 0) {
        stem.resize(stem.size() - 4);  // "drawing.svg" of "drawing.svg.gz"
    }
    return stem.empty() ? "dessin" : stem;
}

// True for art that the picture of the document does not show: paths without anchors,
// texts without characters, groups of nothing else (a measure's first click makes such
// art, which its second press then shapes).
bool DrawsNothing(const emulator::Art& art) {
    std::vector<const emulator::Art*> stack = {&art};
    while (!stack.empty()) {
        const emulator::Art& next = *stack.back();
        stack.pop_back();
        if ((next.type == emulator::ArtType::Path && !next.segments.empty()) ||
            (next.type == emulator::ArtType::Text && !next.pointText.text.empty())) {
            return false;
        }
        for (const auto& child : next.children) {
            stack.push_back(child.get());
        }
    }
    return true;
}

}  // namespace

WebSession::~WebSession() {
    if (host_ != nullptr && host_->PluginStarted()) {
        host_->Quit();
    }
}

bool WebSession::Start(const std::filesystem::path& plugin, const std::string& svg,
                       const std::string& name, std::string* error, bool* documentFailed) {
    *documentFailed = false;
    std::lock_guard lock(mutex_);
    host_ = std::make_unique<emulator::Host>();
    if (!host_->LoadPlugin(plugin, error)) {
        return false;
    }
    if (host_->Startup() != 0 || host_->Notify(kAIApplicationStartedNotifier) != 0) {
        *error = "the plug-in did not start";
        return false;
    }
    pluginFolder_ = plugin.parent_path();
    host_->SetArtWatcher([this](emulator::Art& art, bool removed) { NoteArt(art, removed); });
    if (svg.empty()) {
        host_->NewDocument(595, 842);
        name_ = "dessin";
    } else {
        auto document = emulator::ReadSvg(svg, error);
        if (document == nullptr) {
            *documentFailed = true;
            return false;
        }
        host_->OpenDocument(std::move(document));
        name_ = StemOf(name);
    }
    host_->Notify(kAIDocumentOpenedNotifier);
    host_->Redraw();
    return true;
}

std::string WebSession::Update(const std::string& notice) {
    std::string alerts;
    std::string sounds;
    for (const std::string& line : host_->Events()) {
        if (line.rfind("alert: ", 0) == 0) {
            alerts += (alerts.empty() ? "" : ",") + emulator::JsonQuoted(line.substr(7));
        } else if (line.rfind("sound: ", 0) == 0) {
            const std::string file = std::filesystem::path(line.substr(7)).filename().string();
            sounds += (sounds.empty() ? "" : ",") + emulator::JsonQuoted(file);
        }
    }
    host_->ClearEvents();
    const emulator::Document* document = host_->CurrentDocument();
    const emulator::View& view = document->view;
    const auto cursor = host_->CurrentCursor();
    std::string json = "{\"revision\":" + std::to_string(host_->Revision());
    json += ",\"annotation\":" + emulator::JsonQuoted(AnnotationSvg(host_->LastAnnotation()));
    json += ",\"cursor\":" + (cursor ? std::to_string(*cursor) : std::string("null"));
    json += ",\"alerts\":[" + alerts + "],\"sounds\":[" + sounds + "]";
    json += ",\"tool\":" + std::to_string(host_->Tools().Selected());
    json += ",\"view\":{\"zoom\":" + Number(view.zoom) + ",\"x\":" + Number(view.origin.h) +
            ",\"y\":" + Number(view.origin.v) + ",\"width\":" + std::to_string(view.widthPixels) +
            ",\"height\":" + std::to_string(view.heightPixels) + "}";
    // The document's page in view pixels: where the page shows the drawing.
    const double k = document->unitScale;
    json += ",\"page\":{\"x\":" + Number(-view.origin.h * view.zoom) +
            ",\"y\":" + Number(view.origin.v * view.zoom) +
            ",\"width\":" + Number(document->width * k * view.zoom) +
            ",\"height\":" + Number(document->height * k * view.zoom) + ",\"units\":[" +
            Number(document->width) + "," + Number(document->height) + "]}";
    json += DialogsUpdate();
    if (!notice.empty()) {
        json += ",\"notice\":" + emulator::JsonQuoted(notice);
    }
    return json + "}";
}

std::string WebSession::State() {
    std::lock_guard lock(mutex_);
    std::string tools;
    const auto& all = host_->Tools().All();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i].owner == nullptr) {
            continue;
        }
        tools += std::string(tools.empty() ? "" : ",") + "{\"number\":" + std::to_string(i) +
                 ",\"name\":" + emulator::JsonQuoted(emulator::Utf8FromWindows1252(all[i].name)) +
                 ",\"tip\":" + emulator::JsonQuoted(emulator::Utf8FromWindows1252(all[i].tooltip)) +
                 ",\"icon\":" + std::to_string(all[i].icon) + "}";
    }
    return "{\"tools\":[" + tools + "],\"name\":" + emulator::JsonQuoted(name_) +
           ",\"update\":" + Update() + "}";
}

std::optional<std::string> WebSession::MouseEvent(const std::string& kind, double x, double y,
                                                  const std::vector<std::string>& keys) {
    static const std::set<std::string, std::less<>> kinds = {"move", "down", "drag", "up"};
    if (kinds.count(kind) == 0 || !std::isfinite(x) || !std::isfinite(y)) {
        return std::nullopt;
    }
    std::set<ASInt32> held;
    for (const std::string& key : keys) {
        const auto code = SessionKeyCode(key);
        if (!code) {
            return std::nullopt;
        }
        held.insert(*code);
    }
    std::lock_guard lock(mutex_);
    const emulator::View& view = host_->CurrentDocument()->view;
    const double h = view.origin.h + x / view.zoom;
    const double v = view.origin.v - y / view.zoom;
    // The host keeps coordinates in single precision: beyond its range a point is no point.
    constexpr double kLargest = std::numeric_limits<AIReal>::max();
    if (!(std::abs(h) <= kLargest && std::abs(v) <= kLargest)) {
        return std::nullopt;
    }
    const AIRealPoint point{static_cast<AIReal>(h), static_cast<AIReal>(v)};
    if (kind == "down") {
        pickerPress_.reset();
        BeginPress();
    }
    host_->SetKeys(held);
    host_->ToolEvent(kind, point);
    if (auto initial = host_->TakePickerAsked()) {
        pickerPress_ = PickerPress{point, std::move(held)};
        pickerInitial_ = initial;
    }
    std::string update = Update();
    if (watching_ && kind != "move") {
        // The press's art, and after the up the last of it: the page shows it until the
        // picture of the whole document has come.
        const bool pressed = kind != "up";
        update.insert(update.size() - 1, ",\"live\":" + LiveArt(pressed));
        watching_ = pressed;
    }
    return update;
}

void WebSession::BeginPress() {
    before_.clear();
    for (const auto& layer : host_->CurrentDocument()->layers) {
        for (const auto& art : layer->art) {
            if (!DrawsNothing(*art)) {
                before_.insert(art.get());
            }
        }
    }
    live_.clear();
    beforeChanged_ = false;
    watching_ = true;
}

void WebSession::NoteArt(emulator::Art& art, bool removed) {
    if (!watching_) {
        return;
    }
    emulator::Art* top = &art;
    while (top->parent != nullptr) {
        top = top->parent;
    }
    if (before_.count(top) != 0) {
        beforeChanged_ = true;
        return;
    }
    const AIArtHandle handle = host_->HandleOf(top);
    const auto known = std::find(live_.begin(), live_.end(), handle);
    if (removed && top == &art) {
        if (known != live_.end()) {
            live_.erase(known);
        }
    } else if (known == live_.end()) {
        live_.push_back(handle);
    }
}

std::string WebSession::LiveArt(bool pressed) {
    // Beyond these the whole document's picture costs less than the art sent alone.
    constexpr std::size_t kMostArt = 64;
    constexpr std::size_t kMostBytes = 256 * 1024;
    std::string art;
    bool whole = beforeChanged_ || live_.size() > kMostArt;
    const emulator::Document& document = *host_->CurrentDocument();
    for (std::size_t i = 0; i < live_.size() && !whole; ++i) {
        if (!host_->IsLiveArt(live_[i])) {
            continue;
        }
        const std::string svg = emulator::WriteSvgArt(document, *host_->FindArt(live_[i]));
        if (!svg.empty()) {
            art += (art.empty() ? "" : ",") + emulator::JsonQuoted(svg);
            whole = art.size() > kMostBytes;
        }
    }
    return std::string("{\"pressed\":") + (pressed ? "true" : "false") +
           ",\"art\":" + (whole ? "null" : "[" + art + "]") + "}";
}

std::optional<std::string> WebSession::ChooseTool(int tool) {
    std::lock_guard lock(mutex_);
    const auto& all = host_->Tools().All();
    if (tool < 0 || static_cast<std::size_t>(tool) >= all.size() ||
        all[static_cast<std::size_t>(tool)].owner == nullptr) {
        return std::nullopt;
    }
    host_->SelectToolByName(all[static_cast<std::size_t>(tool)].name);
    return Update();
}

std::optional<std::string> WebSession::SetView(double zoom, double originX, double originY,
                                               int width, int height) {
    if (!(zoom >= 0.0313 && zoom <= 640) || !std::isfinite(originX) || !std::isfinite(originY) ||
        std::abs(originX) > 1e7 || std::abs(originY) > 1e7 || width < 1 || height < 1 ||
        width > 10000 || height > 10000) {
        return std::nullopt;
    }
    std::lock_guard lock(mutex_);
    emulator::View& view = host_->CurrentDocument()->view;
    view.zoom = zoom;
    view.origin = {static_cast<AIReal>(originX), static_cast<AIReal>(originY)};
    view.widthPixels = width;
    view.heightPixels = height;
    host_->Redraw();
    return Update();
}

std::optional<std::string> WebSession::OpenDocument(const std::string& bytes,
                                                    const std::string& name, std::string* error) {
    std::string reason;
    auto document = emulator::ReadSvg(bytes, &reason);
    if (document == nullptr) {
        *error = FrenchReadingFailure(reason);
        return std::nullopt;
    }
    std::lock_guard lock(mutex_);
    const emulator::View old = host_->CurrentDocument()->view;
    document->view.widthPixels = old.widthPixels;
    document->view.heightPixels = old.heightPixels;
    watching_ = false;
    live_.clear();
    host_->OpenDocument(std::move(document));
    host_->Notify(kAIDocumentOpenedNotifier);
    host_->Redraw();
    pickerPress_.reset();
    name_ = StemOf(name);
    return Update();
}

std::string WebSession::DialogsUpdate() {
    std::string json = ",\"canUndo\":" + std::string(host_->CanUndo() ? "true" : "false") +
                       ",\"canRedo\":" + (host_->CanRedo() ? "true" : "false");
    if (pickerInitial_) {
        // Shown once: the colour the picker was opened on, as the dialog's first choice.
        const AIColor& c = *pickerInitial_;
        std::string values;
        if (c.kind == kGrayColor) {
            values = "\"gray\",\"values\":[" + Number(c.gray.gray) + "]";
        } else if (c.kind == kFourColor) {
            values = "\"cmyk\",\"values\":[" + Number(c.cmyk.cyan) + "," + Number(c.cmyk.magenta) +
                     "," + Number(c.cmyk.yellow) + "," + Number(c.cmyk.black) + "]";
        } else {
            const AIThreeColorStyle rgb = c.kind == kThreeColor ? c.rgb : AIThreeColorStyle{};
            values = "\"rgb\",\"values\":[" + Number(rgb.red) + "," + Number(rgb.green) + "," +
                     Number(rgb.blue) + "]";
        }
        json += ",\"picker\":{\"form\":" + values + "}";
        pickerInitial_.reset();
    }
    return json;
}

std::string WebSession::Undo() {
    return Replay(true);
}

std::string WebSession::Redo() {
    return Replay(false);
}

std::string WebSession::Replay(bool undo) {
    std::lock_guard lock(mutex_);
    using Outcome = emulator::Host::UndoOutcome;
    const Outcome outcome = undo ? host_->Undo() : host_->Redo();
    pickerPress_.reset();
    std::string notice;
    if (outcome == Outcome::NothingToDo) {
        notice = undo ? "Rien à annuler : aucune action depuis l'ouverture du dessin, ou toutes "
                        "ont déjà été annulées."
                      : "Rien à rétablir : aucune action annulée à refaire.";
    } else if (outcome == Outcome::ButtonDown) {
        notice = "Relâchez d'abord le bouton de la souris.";
    }
    return Update(notice);
}

std::optional<std::string> WebSession::AnswerPicker(const std::string& form,
                                                    const std::vector<double>& values,
                                                    const std::string& name) {
    static const std::map<std::string, std::size_t, std::less<>> counts = {
        {"gray", 1}, {"rgb", 3}, {"cmyk", 4}, {"spot", 4}};
    const auto count = counts.find(form);
    if (count == counts.end() || values.size() != count->second ||
        !std::all_of(values.begin(), values.end(), [](double v) { return v >= 0 && v <= 1; })) {
        return std::nullopt;
    }
    // A spot colour's name: UTF-8 text of 1 to 64 bytes without control characters.
    const bool nameFits = !name.empty() && name.size() <= 64 &&
                          emulator::Utf8FromUtf16(emulator::Utf16FromUtf8(name)) == name &&
                          std::none_of(name.begin(), name.end(), [](char c) {
                              return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
                          });
    if (form == "spot" && !nameFits) {
        return std::nullopt;
    }
    std::lock_guard lock(mutex_);
    if (!pickerPress_ || host_->ButtonDown()) {
        return std::nullopt;
    }
    std::vector<std::string> answer = {form};
    if (form == "spot") {
        answer.push_back(name);
    }
    for (const double value : values) {
        answer.push_back(Number(value));
    }
    // As a session's picker line followed by the click that opens the picker.
    const PickerPress press = *std::exchange(pickerPress_, std::nullopt);
    host_->SetPickerAnswer(std::move(answer));
    host_->SetKeys(press.keys);
    host_->ToolEvent("down", press.point);
    host_->ToolEvent("up", press.point);
    std::string notice;
    if (!host_->PickerAnswer().empty()) {
        // The press no longer reaches the picker (the panel was closed meanwhile).
        host_->SetPickerAnswer({});
        notice = "La couleur n'a pas pu être appliquée : rouvrez la page des couleurs.";
    }
    host_->TakePickerAsked();
    return Update(notice);
}

std::string WebSession::DocumentSvg() {
    std::lock_guard lock(mutex_);
    return emulator::WriteSvg(*host_->CurrentDocument());
}

std::string WebSession::DownloadName() {
    std::lock_guard lock(mutex_);
    return name_ + "-cotes.svg";
}

std::optional<std::string> WebSession::Image(int id) {
    std::lock_guard lock(mutex_);
    // Tool icons (16000s) and cursors (20000s) only.
    if (!((id >= 16000 && id < 17000) || (id >= 20000 && id < 21000))) {
        return std::nullopt;
    }
    const auto* png = host_->Module().Bundle().Png(id);
    if (png == nullptr) {
        return std::nullopt;
    }
    return std::string(png->begin(), png->end());
}

std::optional<std::string> WebSession::Sound(const std::string& name) {
    if (SoundNames().count(name) == 0) {
        return std::nullopt;
    }
    std::ifstream in(pluginFolder_ / name, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace app
