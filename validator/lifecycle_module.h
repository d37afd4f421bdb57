// The module file loaded into a fresh substitute host and spoken to through
// c4d_main alone, as the application's kernel does: the ground on which the
// lifecycle cases send their messages, out of order and with bad hosts too.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "loading/module_loader.h"
#include "core/substitute_host.h"

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

class LifecycleModule {
public:
    // Loads file into a fresh host; loadProblem() says why when it could not.
    explicit LifecycleModule(const std::filesystem::path& file);
    LifecycleModule(const LifecycleModule&) = delete;
    LifecycleModule& operator=(const LifecycleModule&) = delete;

    const std::string& loadProblem() const { return loadProblem_; }

    int32_t send(int32_t message, void* p1 = nullptr, void* p2 = nullptr, void* p3 = nullptr);
    // Message 1 with tables (the host's own by default) and, when withPath,
    // a host path of the module file that the host frees after the call.
    int32_t bind(const HostTables* tables, bool withPath = true);
    int32_t bind() { return bind(host.tables()); }
    int32_t moduleMessage(uint64_t id, void* data = nullptr);
    int32_t loadResource() { return moduleMessage(HOST_MODULE_MESSAGE_RESOURCE); }
    int32_t start() { return send(HOST_MODULE_START); }
    int32_t end() { return send(HOST_MODULE_END); }

    // The console's last line, "" when it has none.
    std::string lastConsoleLine() const;
    bool commandRegistered() const;

    // The application goes: it destroys the module's commands and unloads the
    // library (the module's own clean-up runs then). The problem when the
    // module left memory, strings, paths or host objects behind, else "".
    std::string unloadAndCountLeft();

    substitute::SubstituteHost host;
    substitute::ModuleLoader loader{host};

private:
    std::filesystem::path file_;
    std::string loadProblem_;
};

// A copy of tables with the table at index (0: t_C4DOS_Ge) missing.
HostTables withoutTable(const HostTables& tables, int index);

// A copy of one table that says it is a byte shorter than it is; it lives as
// long as this object, which hands out the tables that point at it.
class ShortenedTable {
public:
    ShortenedTable(const HostTables& tables, int index);
    const HostTables* tables() const { return &tables_; }

private:
    std::vector<uint64_t> copy_;
    HostTables tables_;
};

}  // namespace validator
