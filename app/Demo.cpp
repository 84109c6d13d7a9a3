#include "app/Demo.h"

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>

#include "app/DemoFiles.h"
#include "app/Registrations.h"
#include "app/Session.h"
#include "emulator/core/Host.h"
#include "emulator/core/SuiteRegistry.h"
#include "emulator/core/Unicode.h"
#include "emulator/picture/ViewPicture.h"
#include "plugin/host/PluginSuites.h"

namespace app {
namespace {

// Reports what went wrong in the host and returns the status of a host failure.
int Failed(const emulator::Host& host, const std::string& what, std::ostream& err) {
    err << "mesra: " << what << "\n";
    for (const std::string& violation : host.Violations()) {
        err << "mesra: host: " << violation << "\n";
    }
    return 1;
}

std::string Code(ASErr error) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = static_cast<char>((error >> shift) & 0xFF);
        text += c >= 0x20 && c < 0x7F ? c : '?';
    }
    return "'" + text + "' (" + std::to_string(error) + ")";
}

// Writes `text` into `file`; false when it cannot.
bool WriteFile(const std::filesystem::path& file, const char* text) {
    std::ofstream stream(file, std::ios::binary);
    stream << text;
    stream.close();
    return !stream.fail();
}

// The bundled session as this build plays it: without its views when it makes no pictures
// (the Windows build); each view line becomes an empty one, so that line numbers stay.
std::string DemoScript() {
    std::istringstream in(kDemoSession);
    std::string script;
    for (std::string line; std::getline(in, line);) {
        if (emulator::ViewPicturesAvailable() || line.rfind("view ", 0) != 0) {
            script += line;
        }
        script += '\n';
    }
    return script;
}

// The bundled session on the bundled drawing, in `outputFolder` (a temporary folder,
// removed afterwards, when none is given): the drawing, the session, the dimensioned
// drawing, its dump and the session's views of the cursor tips are written there.
int RunDemoSession(const std::filesystem::path& plugin, const std::filesystem::path& outputFolder,
                   std::ostream& out, std::ostream& err) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path folder = outputFolder;
    const bool temporary = folder.empty();
    if (temporary) {
        folder = fs::temp_directory_path(ec) /
                 ("mesra-demo-" +
                  std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    }
    fs::create_directories(folder, ec);
    if (ec) {
        err << "mesra: cannot create " << emulator::Utf8FromPath(folder) << ": " << ec.message()
            << "\n";
        return 1;
    }
    CommandLine options;
    options.session = emulator::Utf8FromPath(folder / "demo.session");
    options.document = emulator::Utf8FromPath(folder / "drawing.svg");
    options.output = emulator::Utf8FromPath(folder / "drawing-cotes.svg");
    options.dump = emulator::Utf8FromPath(folder / "drawing-cotes.json");
    if (!WriteFile(folder / "demo.session", kDemoSession) ||
        !WriteFile(folder / "drawing.svg", kDemoDrawing)) {
        err << "mesra: cannot write in " << emulator::Utf8FromPath(folder) << "\n";
        return 1;
    }
    SessionError error;
    const auto lines = ParseSession(DemoScript(), &error);
    if (!lines) {
        err << "mesra: demo.session, line " << error.line << ": " << error.message << "\n";
        return 1;
    }
    out << "host: session demo.session on drawing.svg\n";
    const int status = RunSession(*lines, plugin, options, out, err);
    if (status == 0 && !temporary) {
        out << "host: wrote " << options.output << " and " << options.dump << "\n";
        for (const SessionLine& line : *lines) {
            if (line.command == "view") {
                out << "host: wrote " << emulator::Utf8FromPath(folder / line.arguments[0]) << "\n";
            }
        }
    }
    if (temporary) {
        fs::remove_all(folder, ec);
    }
    return status;
}

}  // namespace

namespace {

// The plug-in's life in a host: start-up, what it registers, its About item, shut-down.
int RunLifeDemo(const std::filesystem::path& plugin, std::ostream& out, std::ostream& err) {
    emulator::Host host;
    host.SetEventSink([&out](const std::string& line) { out << line << "\n"; });
    std::string error;
    if (!host.LoadPlugin(plugin, &error)) {
        return Failed(host, "cannot load the plug-in: " + error, err);
    }
    out << "host: loaded " << emulator::Utf8FromPath(plugin) << "\n";
    if (const ASErr startup = host.Startup(); startup != 0) {
        return Failed(host, "the plug-in's start-up failed: " + Code(startup), err);
    }
    if (const ASErr started = host.Notify(kAIApplicationStartedNotifier); started != 0) {
        return Failed(host, "the application-started notification failed: " + Code(started), err);
    }
    for (const std::string& line : DescribeRegistrations(host)) {
        out << line << "\n";
    }
    out << "host: About menu\n";
    if (const ASErr about = host.ChooseMenuItem(host.FindMenuItem("Vorn-Cotaline\x85"));
        about != 0) {
        return Failed(host, "the About item failed: " + Code(about), err);
    }
    if (const ASErr quit = host.Quit(); quit != 0) {
        return Failed(host, "the plug-in's shut-down failed: " + Code(quit), err);
    }
    out << "host: plug-in shut down\n";
    if (!host.Violations().empty() || !host.Suites().HeldSuites().empty()) {
        return Failed(host, "the plug-in misused the host", err);
    }
    return 0;
}

}  // namespace

int RunDemo(const std::filesystem::path& plugin, const std::filesystem::path& outputFolder,
            std::ostream& out, std::ostream& err) {
    // One host at a time: the second starts once the first is gone.
    if (const int status = RunLifeDemo(plugin, out, err); status != 0) {
        return status;
    }
    return RunDemoSession(plugin, outputFolder, out, err);
}

}  // namespace app
