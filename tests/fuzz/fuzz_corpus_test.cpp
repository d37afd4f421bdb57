// Every input kept for the fuzz targets (seeds and the inputs of faults the
// fuzzer once found) still passes their checks, in every build.
#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz_checks.h"
#include "read_file.h"

namespace {
namespace fs = std::filesystem;

std::vector<fs::path> inputsOf(const std::string& target) {
    std::vector<fs::path> inputs;
    for (const char* folder : {"corpus", "regressions"}) {
        const fs::path kept = fs::path(CLEARTRACE_SOURCE_DIR) / "fuzz" / folder / target;
        if (!fs::is_directory(kept)) continue;
        for (const auto& entry : fs::directory_iterator(kept)) inputs.push_back(entry.path());
    }
    return inputs;
}

// Every kept input of target, at least atLeast of them, passes check.
void expectEveryInputPasses(const std::string& target, size_t atLeast, void (*check)(std::string_view text)) {
    const std::vector<fs::path> inputs = inputsOf(target);
    EXPECT_GE(inputs.size(), atLeast);
    for (const fs::path& input : inputs) {
        SCOPED_TRACE(input.string());
        check(kit::readFile(input));
    }
}

TEST(FuzzCorpus, SceneLoaderInputsPass) { expectEveryInputPasses("scene_loader", 4, fuzzing::checkSceneText); }

TEST(FuzzCorpus, ScriptReaderInputsPass) { expectEveryInputPasses("script_reader", 5, fuzzing::checkScriptText); }

}  // namespace
