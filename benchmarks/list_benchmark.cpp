// Reading the results list through the driver, as a user does with `list`:
// the host lists every row through the module's callbacks and draws every
// cell. The rows are stored in list order, so this should grow linearly.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "session.h"

namespace {
constexpr int32_t legacyTag = 1234;

void listRows(benchmark::State& state) {
    const int64_t rows = state.range(0);
    std::ostringstream shown;
    driver::Output output(shown, driver::Format::Text);
    driver::Session session(output, true);
    if (!session.start(CLEARTRACE_MODULE_FILE, std::nullopt)) {
        state.SkipWithError("the module did not start");
        return;
    }
    substitute::Scene& scene = session.host().scene;
    HostDocument& document = *scene.activeDocument();
    for (int64_t i = 0; i < rows; ++i) {
        HostElement* object = scene.addObject(document, nullptr, "Cube " + std::to_string(i), 5159);
        scene.addTag(*object, "Legacy", legacyTag);
    }
    for (const char* command : {"open", "id 1234", "process", "list"})
        session.run(driver::splitLine(command).commands[0], "setup");
    if (shown.str().find("list: " + std::to_string(rows) + " rows") == std::string::npos) {
        state.SkipWithError("the list does not hold every instance");
        return;
    }
    const driver::Words list = {"list"};
    for (auto _ : state) {
        shown.str({});
        session.run(list, "benchmark");
    }
    state.SetComplexityN(rows);
}
BENCHMARK(listRows)->RangeMultiplier(10)->Range(1000, 100000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

}  // namespace
