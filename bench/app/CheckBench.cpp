// `mesra check` on a large drawing: 5,000 linked dimensions over 10,000 paths, written to an
// SVG file and checked as the command does it (the file read, the plug-in loaded, every
// dimension rebuilt and compared, the report printed). Reports the 50th and 99th
// percentiles ("p50_ms", "p99_ms") of the whole command.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "app/CheckCommand.h"
#include "bench/DimensionedDrawing.h"
#include "bench/Percentiles.h"
#include "emulator/svg/SvgExport.h"

namespace {

void BM_CheckCommand(benchmark::State& state) {
    const auto file = std::filesystem::temp_directory_path() / "mesra-check-bench.svg";
    {
        bench_support::DimensionedDrawing drawing(10000, static_cast<int>(state.range(0)));
        std::string error;
        if (!drawing.Ready() ||
            !emulator::WriteSvgFile(*drawing.Host().CurrentDocument(), file, &error)) {
            state.SkipWithError("the plug-in could not dimension the drawing");
            return;
        }
    }
    app::CommandLine options;
    options.command = app::Command::Check;
    options.document = file.string();
    bench_support::Percentiles checks;
    std::string report;
    int status = 0;
    for (auto _ : state) {
        std::ostringstream out;
        std::ostringstream err;
        checks.Time(
            [&] { status = app::RunDimensionCheck(options, MESRA_PLUGIN_PATH, out, err, false); });
        report = out.str();
    }
    checks.Report(state);
    std::filesystem::remove(file);
    if (status != 0 || report.find(std::to_string(state.range(0)) + " ok") == std::string::npos) {
        state.SkipWithError("the check did not find every dimension up to date");
    }
}

BENCHMARK(BM_CheckCommand)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
