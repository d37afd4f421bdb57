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

TEST(FuzzCorpus, SceneLoaderInputsPass) {
    const std::vector<fs::path> inputs = inputsOf("scene_loader");
    EXPECT_GE(inputs.size(), 4u);
    for (const fs::path& input : inputs) {
        SCOPED_TRACE(input.string());
        fuzzing::checkSceneText(kit::readFile(input));
    }
}

TEST(FuzzCorpus, ScriptReaderInputsPass) {
    const std::vector<fs::path> inputs = inputsOf("script_reader");
    EXPECT_GE(inputs.size(), 5u);
    for (const fs::path& input : inputs) {
        SCOPED_TRACE(input.string());
        fuzzing::checkScriptText(kit::readFile(input));
    }
}

}  // namespace
