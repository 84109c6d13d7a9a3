#include "fuzz/support/RandomSession.h"

#include <array>
#include <cstdio>

#include "emulator/core/ArtTree.h"
#include "emulator/svg/SvgImport.h"

namespace fuzzing {
namespace {

// Reads the bytes one at a time; past the end every byte is 0.
class ByteReader {
  public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool Done() const { return next_ >= bytes_.size(); }
    std::uint8_t Next() { return next_ < bytes_.size() ? bytes_[next_++] : 0; }
    // A whole number from 0 to count − 1.
    std::size_t Pick(std::size_t count) { return count == 0 ? 0 : Next() % count; }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t next_ = 0;
};

std::string Number(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

class Writer {
  public:
    Writer(ByteReader& in, const std::vector<Target>& targets) : in_(in), targets_(targets) {}

    // A point near a target (within a few units, so that hit tolerances are tried on both
    // sides), or anywhere on and around the page when there is none.
    std::string NearTarget() {
        if (targets_.empty()) {
            return Anywhere();
        }
        const Target& t = targets_[in_.Pick(targets_.size())];
        const double dx = (static_cast<int>(in_.Next()) - 128) / 24.0;
        const double dy = (static_cast<int>(in_.Next()) - 128) / 24.0;
        const bool exact = (in_.Next() & 1) == 0;
        return Number(exact ? t.x : t.x + dx) + " " + Number(exact ? t.y : t.y + dy);
    }

    // Anywhere on a wide area around the page, and now and then very far away.
    std::string Anywhere() {
        static constexpr std::array<double, 4> kFar = {-1e7, 1e7, -12345.5, 98765.25};
        const std::uint8_t kind = in_.Next();
        if (kind < 8) {
            return Number(kFar[kind % 4]) + " " + Number(kFar[(kind / 4 + kind) % 4]);
        }
        const double x = (in_.Next() * 256 + in_.Next()) / 65536.0 * 1400 - 200;
        const double y = (in_.Next() * 256 + in_.Next()) / 65536.0 * 1400 - 200;
        return Number(x) + " " + Number(y);
    }

  private:
    ByteReader& in_;
    const std::vector<Target>& targets_;
};

}  // namespace

std::vector<Target> TargetsOf(const std::string& svg) {
    std::string error;
    const auto document = emulator::ReadSvg(svg, &error);
    std::vector<Target> targets;
    if (document == nullptr) {
        return targets;
    }
    const double k = document->unitScale > 0 ? document->unitScale : 1;
    const auto add = [&](double h, double v) { targets.push_back({h / k, -v / k}); };
    emulator::ForEachArtInDocumentOrder(*document, [&](emulator::Art& art) {
        const auto& segments = art.segments;
        for (std::size_t i = 0; i < segments.size(); ++i) {
            add(segments[i].p.h, segments[i].p.v);
            if (i + 1 < segments.size()) {
                add((segments[i].p.h + segments[i + 1].p.h) / 2,
                    (segments[i].p.v + segments[i + 1].p.v) / 2);
            }
        }
    });
    return targets;
}

std::string SessionFromBytes(std::span<const std::uint8_t> bytes,
                             const std::vector<Target>& targets, const std::string& document) {
    static constexpr std::array<const char*, 6> kTools = {"segment", "angle", "circle",
                                                          "bezier",  "areas", "select"};
    static constexpr std::array<const char*, 7> kKeys = {"shift", "alt",    "ctrl",  "esc",
                                                         "space", "lshift", "rshift"};
    static constexpr std::array<const char*, 3> kNotifications = {"selection", "opened",
                                                                  "customcolor"};
    static constexpr std::array<const char*, 6> kZooms = {"0.0313", "0.25", "1", "1.5", "8", "640"};
    static constexpr std::array<const char*, 6> kPickers = {
        "gray 0.5", "rgb 1 0 0.25", "cmyk 0 1 1 0", "spot Rouge", "cancel", "rgb 0 0 0"};
    ByteReader in(bytes);
    Writer at(in, targets);
    std::string script;
    while (!in.Done()) {
        const std::uint8_t op = in.Next();
        switch (op % 16) {
            case 0:
                script += std::string("tool ") + kTools[in.Pick(kTools.size())] + "\n";
                break;
            case 1: {
                // Most of the time no key or one: a key held all along would hide the rest.
                const std::uint8_t mask = in.Next() & in.Next() & in.Next();
                script += "keys";
                for (std::size_t k = 0; k < kKeys.size(); ++k) {
                    if ((mask >> k) & 1) {
                        script += std::string(" ") + kKeys[k];
                    }
                }
                script += "\n";
                break;
            }
            case 2:
            case 3:
                script += "move " + at.NearTarget() + "\n";
                break;
            case 4:
                script += "down " + at.NearTarget() + "\n";
                break;
            case 5:
                script += "drag " + at.NearTarget() + "\n";
                break;
            case 6:
                script += "up " + at.NearTarget() + "\n";
                break;
            case 7:
            case 8:
                script += "click " + at.NearTarget() + "\n";
                break;
            case 9:
                script += std::string(op < 128 ? "move " : "click ") + at.Anywhere() + "\n";
                break;
            case 10:
                // A zoom, or an action taken back or done again (mid-drag too).
                if (op < 96) {
                    script += std::string("zoom ") + kZooms[in.Pick(kZooms.size())] + "\n";
                } else {
                    script += op < 192 ? "undo\n" : "redo\n";
                }
                break;
            case 11:
                script +=
                    std::string("notify ") + kNotifications[in.Pick(kNotifications.size())] + "\n";
                break;
            case 12:
                script += std::string("picker ") + kPickers[in.Pick(kPickers.size())] + "\n";
                break;
            case 13:
                // Now and then a new blank document or the drawing opened again (which ends
                // the work on the one before), most of the time a click.
                if (op < 16) {
                    script +=
                        "new " + Number(1 + in.Next() * 4) + " " + Number(1 + in.Next() * 4) + "\n";
                } else if (op >= 240 && !document.empty()) {
                    script += "doc " + document + "\n";
                } else {
                    script += "click " + at.NearTarget() + "\n";
                }
                break;
            default:
                // A drag from one target to another, as a user makes one.
                script += "down " + at.NearTarget() + "\n";
                for (int i = in.Next() % 4; i >= 0; --i) {
                    script += "drag " + at.NearTarget() + "\n";
                }
                script += "up " + at.NearTarget() + "\n";
                break;
        }
    }
    return script;
}

}  // namespace fuzzing
