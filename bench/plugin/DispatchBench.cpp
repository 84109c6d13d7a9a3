// The cost of one message through the entry point, on the path every cursor movement
// takes: the host builds the message, the plug-in dispatches it and answers.
#include <benchmark/benchmark.h>

#include <string>

#include "emulator/core/Host.h"
#include "plugin/host/PluginSuites.h"

namespace {

void BM_ToolMessageRoundTrip(benchmark::State& state) {
    emulator::Host host;
    std::string error;
    if (!host.LoadPlugin(MESRA_PLUGIN_PATH, &error) || host.Startup() != 0 ||
        host.Notify(kAIApplicationStartedNotifier) != 0) {
        state.SkipWithError(error.c_str());
        return;
    }
    host.NewDocument(595, 842);
    for (auto _ : state) {
        AIToolMessage message{};
        message.cursor = {100.0f, -200.0f};
        benchmark::DoNotOptimize(host.SendMessage("AI Tool", "AI Track Cursor", &message.d));
    }
    host.Quit();
}
BENCHMARK(BM_ToolMessageRoundTrip);

void BM_UnknownMessage(benchmark::State& state) {
    emulator::Host host;
    std::string error;
    if (!host.LoadPlugin(MESRA_PLUGIN_PATH, &error) || host.Startup() != 0) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(host.Send("Workspace Manager", "Unknown"));
    }
    host.Quit();
}
BENCHMARK(BM_UnknownMessage);

}  // namespace
