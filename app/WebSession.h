// The plug-in in a host that a web page drives: the page's mouse events, keys, tool
// choices, zooms and documents go to the host's API exactly as session lines do, and each
// answer says what the page must draw again. One session serves one document; every call
// may come from any thread (calls are taken one at a time).
#pragma once

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "emulator/core/Host.h"

namespace app {

class WebSession {
  public:
    WebSession() = default;
    ~WebSession();
    WebSession(const WebSession&) = delete;
    WebSession& operator=(const WebSession&) = delete;

    // Loads and starts the plug-in at `plugin`, then opens `document` (SVG, its file name
    // given for the download) or, without one, a blank page. False with the reason, and
    // *documentFailed set when the document was it.
    bool Start(const std::filesystem::path& plugin, const std::string& svg, const std::string& name,
               std::string* error, bool* documentFailed);

    // What the page needs to show everything (JSON): the plug-in's tools with their icons,
    // the view, the document's revision and size, and the update of Update().
    std::string State();

    // A mouse event of the page ("move", "down", "drag", "up") at a point of the view (pixels,
    // y downwards), with the modifier keys held (names as in sessions); the update (JSON),
    // or nothing for an unknown event or key, or a point beyond what the host represents.
    std::optional<std::string> MouseEvent(const std::string& kind, double x, double y,
                                          const std::vector<std::string>& keys);
    // Chooses the plug-in's tool of that number (State's "tools"); the update, or nothing.
    std::optional<std::string> ChooseTool(int tool);
    // The view: zoom (0.0313 to 640), origin (artwork point at the view's top-left corner)
    // and size in pixels; the update, or nothing for values out of range.
    std::optional<std::string> SetView(double zoom, double originX, double originY, int width,
                                       int height);
    // Opens an SVG file's bytes as the document (the old one closed); the update, or nothing
    // with the reason in *error (French, for the user) when they are no SVG drawing.
    std::optional<std::string> OpenDocument(const std::string& bytes, const std::string& name,
                                            std::string* error);

    // Takes the last action back (Undo) or does it again (Redo), as Ctrl+Z and Ctrl+Shift+Z;
    // the update, whose "notice" says why (French) when there was nothing to take back or
    // do again, or the mouse button is down.
    std::string Undo();
    std::string Redo();
    // Answers the colour dialog that the last press opened (the update's "picker"): the
    // answer, as a session's picker line gives it ("gray" G, "rgb" R G B, "cmyk" C M Y K with
    // components from 0 to 1, or "spot" with a name and C M Y K), is set and the press and its
    // release are done again, so that the plug-in gets the colour. Nothing when no dialog
    // waits or the answer is none of these.
    std::optional<std::string> AnswerPicker(const std::string& form,
                                            const std::vector<double>& values,
                                            const std::string& name);

    // The document as SVG, and the name to download it under ("NAME-cotes.svg").
    std::string DocumentSvg();
    std::string DownloadName();
    // The PNG of a tool icon or a cursor of the plug-in's resources; nothing for another id.
    std::optional<std::string> Image(int id);
    // The bytes of a click sound beside the plug-in ("BipPoint.wav"...); nothing for
    // another name.
    std::optional<std::string> Sound(const std::string& name);

  private:
    // The update after an action (JSON): the document's revision, the annotation's SVG, the
    // cursor, the alerts and sounds of the action, the selected tool and the view.
    std::string Update(const std::string& notice = {});
    // Undo or Redo.
    std::string Replay(bool undo);
    // The press that opened the colour picker while nobody answered it: where, and the
    // keys held.
    struct PickerPress {
        AIRealPoint point{};
        std::set<ASInt32> keys;
    };
    // The update's part about the colour dialog and the undo buttons (JSON, from its comma).
    std::string DialogsUpdate();

    // A press (down to up) of the page: the art it places or changes travels in the answers
    // of its events, so that the page draws that art alone until the press is over.
    void BeginPress();
    void NoteArt(emulator::Art& art, bool removed);
    // The "live" member of a press's answer: whether the press goes on, and the SVG elements
    // of the art it placed or changed (user units of the document), or null when the page
    // must show the whole document instead (art that was there before the press changed, or
    // too much art to send).
    std::string LiveArt(bool pressed);

    std::mutex mutex_;
    std::unique_ptr<emulator::Host> host_;
    std::filesystem::path pluginFolder_;
    std::string name_;
    std::optional<PickerPress> pickerPress_;
    std::optional<AIColor> pickerInitial_;
    bool watching_ = false;
    // The art at the top of the layers when the press began, the top art it placed or
    // changed since (in the order first touched), and whether it changed art of `before_`.
    std::unordered_set<const emulator::Art*> before_;
    std::vector<AIArtHandle> live_;
    bool beforeChanged_ = false;
};

}  // namespace app
