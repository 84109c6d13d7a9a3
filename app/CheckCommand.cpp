#include "app/CheckCommand.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <vector>

#include "app/DimensionCheck.h"
#include "app/PluginsFolder.h"
#include "emulator/core/Dump.h"
#include "emulator/core/Host.h"
#include "emulator/svg/SvgExport.h"
#include "emulator/svg/SvgImport.h"
#include "plugin/host/PluginSuites.h"

namespace app {
namespace {

constexpr std::size_t kProgressAbove = 1000;

// A plug-ins folder of the run's own, holding the plug-in and a copy of the user's
// preferences: the clicks of a check never change the settings the user keeps.
class PrivateFolder {
  public:
    PrivateFolder() {
        std::error_code ignored;
        path_ = std::filesystem::temp_directory_path(ignored) /
                ("mesra-check-" + std::to_string(getpid()));
    }
    ~PrivateFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    // Installs the plug-in at `plugin` with the preferences beside it; its path here.
    std::optional<std::filesystem::path> Install(const std::filesystem::path& plugin,
                                                 std::string* error) {
        auto installed = InstallPlugin(path_, plugin, error);
        if (!installed) {
            return std::nullopt;
        }
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(plugin.parent_path(), ec)) {
            const std::string name = entry.path().filename().string();
            if (name.size() > 10 && name.compare(name.size() - 10, 10, "-Prefs.txt") == 0) {
                std::filesystem::copy_file(entry.path(), path_ / name,
                                           std::filesystem::copy_options::overwrite_existing, ec);
            }
        }
        return installed;
    }

  private:
    std::filesystem::path path_;
};

using emulator::JsonQuoted;

void PrintLine(std::ostream& out, const DimensionReport& line, const char* status) {
    out << line.kind << "  " << JsonQuoted(line.name) << "  shows " << JsonQuoted(line.shows);
    if (line.status == DimensionStatus::UpToDate || line.status == DimensionStatus::OutOfDate) {
        out << "  should show " << JsonQuoted(line.shouldShow);
    }
    out << "  " << status << "\n";
}

// A bar that redraws itself on one line of a terminal.
class ProgressBar {
  public:
    explicit ProgressBar(std::ostream& out) : out_(out) {}
    void Show(double done) {
        constexpr int kWidth = 40;
        const int filled = static_cast<int>(done * kWidth + 0.5);
        if (filled == shown_) {
            return;
        }
        shown_ = filled;
        out_ << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
             << std::string(static_cast<std::size_t>(kWidth - filled), ' ') << "] "
             << static_cast<int>(done * 100 + 0.5) << " %" << std::flush;
    }
    void Close() {
        if (shown_ >= 0) {
            out_ << "\r" << std::string(50, ' ') << "\r" << std::flush;
        }
    }

  private:
    std::ostream& out_;
    int shown_ = -1;
};

}  // namespace

int RunDimensionCheck(const CommandLine& options, const std::string& plugin, std::ostream& out,
                      std::ostream& err, bool terminal) {
    const bool update = options.command == Command::Update;
    std::string error;
    auto document = emulator::ReadSvgFile(options.document, &error);
    if (document == nullptr) {
        err << "mesra: " << error << "\n";
        return 2;
    }
    // What update writes: the drawing as it was read, where only the out-of-date dimensions
    // are replaced by what the plug-in drew for them. The plug-in rebuilds every dimension
    // of a kind into its own layer; the others stay exactly as the user left them.
    std::unique_ptr<emulator::Document> written;
    if (update) {
        written = emulator::ReadSvgFile(options.document, &error);
        if (written == nullptr) {
            err << "mesra: " << error << "\n";
            return 2;
        }
    }
    PrivateFolder folder;
    const auto installed = folder.Install(plugin, &error);
    if (!installed) {
        err << "mesra: " << error << "\n";
        return 1;
    }
    // The command updates the drawing in one go: nothing to undo, nothing to record.
    emulator::HostOptions hostOptions;
    hostOptions.undoSteps = 0;
    emulator::Host host(hostOptions);
    if (!host.LoadPlugin(installed->string(), &error)) {
        err << "mesra: cannot load the plug-in: " << error << "\n";
        return 1;
    }
    if (host.Startup() != 0 || host.Notify(kAIApplicationStartedNotifier) != 0) {
        err << "mesra: the plug-in did not start\n";
        return 1;
    }
    // A dimension large enough to be worth a bar is counted before the plug-in works.
    std::size_t groups = 0;
    for (const auto& layer : document->layers) {
        groups += layer->art.size();
    }
    host.OpenDocument(std::move(document));
    if (host.Notify(kAIDocumentOpenedNotifier) != 0) {
        err << "mesra: the plug-in refused the document\n";
        return 1;
    }
    ProgressBar bar(err);
    Progress progress;
    if (terminal && groups > kProgressAbove) {
        progress = [&bar](double done) { bar.Show(done); };
    }
    const Refresh refresh = RefreshDimensions(host, progress);
    bar.Close();
    if (!refresh.failure.empty()) {
        host.Quit();
        err << "mesra: internal error: " << refresh.failure << "; nothing was written\n";
        return 1;
    }
    const std::vector<DimensionReport>& reports = refresh.reports;

    std::map<DimensionStatus, int> counts;
    for (const DimensionReport& line : reports) {
        ++counts[line.status];
    }
    const int outOfDate = counts[DimensionStatus::OutOfDate];
    const int missing = counts[DimensionStatus::PathMissing];
    const int unreached = counts[DimensionStatus::Unreached];
    int status = outOfDate + missing + unreached > 0 ? 1 : 0;
    if (update) {
        status = missing + unreached > 0 ? 1 : 0;
        const std::string target = options.output.empty() ? options.document : options.output;
        if (!ReplaceRebuilt(refresh, *written)) {
            host.Quit();
            err << "mesra: internal error: a rebuilt dimension has no place in the drawing; "
                   "nothing was written\n";
            return 1;
        }
        if (!emulator::WriteSvgFile(*written, target, &error)) {
            err << "mesra: " << error << "\n";
            status = 1;
        }
    }
    host.Quit();
    for (const std::string& violation : host.Violations()) {
        err << "mesra: host: " << violation << "\n";
        status = 1;
    }

    // What update changed is reported with the word of what it did.
    const auto word = [update](const DimensionReport& line) {
        return update && line.status == DimensionStatus::OutOfDate ? "updated"
                                                                   : StatusWord(line.status);
    };
    const auto listed = [update](const DimensionReport& line) {
        return !update || line.status == DimensionStatus::OutOfDate ||
               line.status == DimensionStatus::PathMissing ||
               line.status == DimensionStatus::Unreached;
    };
    if (options.json) {
        out << "{\n  \"file\": " << JsonQuoted(options.document) << ",\n  \"dimensions\": [";
        bool first = true;
        for (const DimensionReport& line : reports) {
            if (!listed(line)) {
                continue;
            }
            out << (first ? "\n" : ",\n") << "    {\"kind\": " << JsonQuoted(line.kind)
                << ", \"name\": " << JsonQuoted(line.name)
                << ", \"shows\": " << JsonQuoted(line.shows)
                << ", \"should_show\": " << JsonQuoted(line.shouldShow)
                << ", \"status\": " << JsonQuoted(word(line)) << "}";
            first = false;
        }
        out << (first ? "]" : "\n  ]") << ",\n  \"summary\": {\"dimensions\": " << reports.size()
            << ", \"ok\": " << counts[DimensionStatus::UpToDate]
            << ", \"out_of_date\": " << (update ? 0 : outOfDate)
            << ", \"updated\": " << (update ? outOfDate : 0) << ", \"path_missing\": " << missing
            << ", \"not_reached\": " << unreached << ", \"free\": " << counts[DimensionStatus::Free]
            << "}\n}\n";
        return status;
    }
    for (const DimensionReport& line : reports) {
        if (listed(line)) {
            PrintLine(out, line, word(line));
        }
    }
    out << reports.size() << " dimension" << (reports.size() == 1 ? "" : "s") << ": "
        << counts[DimensionStatus::UpToDate] << " ok, " << outOfDate
        << (update ? " updated, " : " out of date, ") << missing << " path missing, ";
    if (unreached > 0) {
        out << unreached << " not reached, ";
    }
    out << counts[DimensionStatus::Free] << " free\n";
    return status;
}

}  // namespace app
