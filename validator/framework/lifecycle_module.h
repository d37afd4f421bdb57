// The module file loaded into a fresh substitute host and spoken to through
// c4d_main alone, as the application's kernel does: the ground on which the
// lifecycle cases send their messages, out of order and with bad hosts too.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "altered_tables.h"
#include "loading/module_loader.h"
#include "module_lifecycle.h"

namespace validator {

// A case's expectations, kept up to the first that does not hold:
// "bind twice: the second bind answered -3, expected 1".
class Expectations {
public:
    explicit Expectations(std::string sequence) : sequence_(std::move(sequence)) {}

    // False (and remembered) when answer is not expected.
    bool answer(const std::string& step, int32_t answer, int32_t expected);
    // False (and remembered, as "sequence: what") when holds is false.
    bool fact(bool holds, const std::string& what);
    // "" while every expectation held, else the first that did not.
    const std::string& problem() const { return problem_; }
    bool failed() const { return !problem_.empty(); }

private:
    std::string sequence_;
    std::string problem_;
};

// The module file loaded into a fresh host, its c4d_main found in the file.
class LifecycleModule : public kit::ModuleLifecycle {
public:
    // Loads file into a fresh host; loadProblem() says why when it could not.
    explicit LifecycleModule(const std::filesystem::path& file);

    const std::string& loadProblem() const { return loadProblem_; }

    // The application goes: it destroys the module's commands and unloads the
    // library (the module's own clean-up runs then). The problem when the
    // module left memory, strings, paths or host objects behind, else "".
    std::string unloadAndCountLeft();

    substitute::ModuleLoader loader{host};

private:
    std::string loadProblem_;
};

}  // namespace validator
