// mesra: runs the Mesra plug-in in the emulated host.
#ifdef _WIN32
#include <windows.h>
// shellapi.h needs windows.h's types.
#include <shellapi.h>
#else
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/Demo.h"
#include "app/PluginsFolder.h"
#include "app/Session.h"
#include "emulator/core/Unicode.h"
#include "emulator/picture/ViewPicture.h"

#ifndef _WIN32
#include "app/CheckCommand.h"
#endif

namespace {

constexpr int kExitHostFailure = 1;
constexpr int kExitUsage = 2;

// The arguments after the program's name, in UTF-8. Windows hands the program its command
// line in UTF-16 (the narrow one is in the ANSI code page, which cannot hold every name).
std::vector<std::string> Arguments([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
#ifdef _WIN32
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; wide != nullptr && i < count; ++i) {
        const std::wstring argument(wide[i]);
        arguments.push_back(
            emulator::Utf8FromUtf16(std::u16string(argument.begin(), argument.end())));
    }
    LocalFree(wide);
    return arguments;
#else
    return {argv + 1, argv + argc};
#endif
}

#ifndef _WIN32
// `mesra serve` is the program mesra-serve beside this one, which alone links the web
// server's libraries: the other commands start without loading them. The process becomes
// that program with the same arguments; returns only when it cannot.
int ServeInItsOwnProgram(char** argv, std::string* error) {
    const auto folder = app::ProgramFolder(error);
    if (folder) {
        const std::string server = (*folder / "mesra-serve").string();
        argv[0] = const_cast<char*>(server.c_str());
        execv(server.c_str(), argv);
        *error = "cannot start " + server + ": " + std::strerror(errno);
    }
    std::cerr << "mesra: " << *error << "\n";
    return kExitHostFailure;
}
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // What the program prints is UTF-8, as on other systems.
    SetConsoleOutputCP(CP_UTF8);
#endif
    const std::vector<std::string> arguments = Arguments(argc, argv);
    std::string error;
    const auto line = app::ParseCommandLine(arguments, &error);
    if (!line) {
        std::cerr << "mesra: " << error << "\n" << app::UsageText();
        return kExitUsage;
    }
    switch (line->command) {
        case app::Command::Help:
            std::cout << app::UsageText();
            return 0;
        case app::Command::Version:
            std::cout << "mesra " << MESRA_VERSION << "\n";
            return 0;
        case app::Command::Serve:
#ifdef _WIN32
            std::cerr << "mesra: serve is a command of the Linux build of mesra only\n";
            return kExitUsage;
#else
            return ServeInItsOwnProgram(argv, &error);
#endif
        case app::Command::Check:
        case app::Command::Update:
#ifdef _WIN32
            std::cerr << "mesra: check and update are commands of the Linux build of mesra only\n";
            return kExitUsage;
#endif
        case app::Command::Demo:
        case app::Command::Run:
            break;
    }
    if (!line->view.empty() && !emulator::ViewPicturesAvailable()) {
        std::cerr << "mesra: --view: view pictures are made by the Linux build of mesra only\n";
        return kExitUsage;
    }
    const auto plugin = app::PreparePlugin(emulator::PathFromUtf8(line->plugins), &error);
    if (!plugin) {
        std::cerr << "mesra: " << error << "\n";
        return kExitHostFailure;
    }
#ifndef _WIN32
    if (line->command == app::Command::Check || line->command == app::Command::Update) {
        return app::RunDimensionCheck(*line, plugin->string(), std::cout, std::cerr,
                                      isatty(STDERR_FILENO) != 0);
    }
#endif
    if (line->command == app::Command::Demo) {
        return app::RunDemo(*plugin, emulator::PathFromUtf8(line->output), std::cout, std::cerr);
    }
    std::ifstream in(emulator::PathFromUtf8(line->session), std::ios::binary);
    if (!in) {
        std::cerr << "mesra: cannot read the session " << line->session << "\n";
        return kExitUsage;
    }
    const std::string script((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
    app::SessionError sessionError;
    const auto session = app::ParseSession(script, &sessionError);
    if (!session) {
        std::cerr << "mesra: " << line->session << ":" << sessionError.line << ": "
                  << sessionError.message << "\n";
        return kExitUsage;
    }
    return app::RunSession(*session, *plugin, *line, std::cout, std::cerr);
}
