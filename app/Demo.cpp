#include "app/Demo.h"

#include "app/Registrations.h"
#include "emulator/Host.h"
#include "emulator/SuiteRegistry.h"
#include "host/PluginSuites.h"

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

}  // namespace

int RunDemo(const std::filesystem::path& plugin, const std::filesystem::path& outputFolder,
            std::ostream& out, std::ostream& err) {
    emulator::Host host;
    host.SetEventSink([&out](const std::string& line) { out << line << "\n"; });
    std::string error;
    if (!host.LoadPlugin(plugin, &error)) {
        return Failed(host, "cannot load the plug-in: " + error, err);
    }
    out << "host: loaded " << plugin.string() << "\n";
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
    if (!outputFolder.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(outputFolder, ec);
        if (ec) {
            return Failed(host, "cannot create " + outputFolder.string() + ": " + ec.message(),
                          err);
        }
    }
    if (!host.Violations().empty() || !host.Suites().HeldSuites().empty()) {
        return Failed(host, "the plug-in misused the host", err);
    }
    return 0;
}

}  // namespace app
