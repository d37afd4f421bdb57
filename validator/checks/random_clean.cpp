#include "checks/random_clean.h"

#include <algorithm>
#include <fstream>

#include "checks/random_folder.h"

namespace validator {
namespace {
namespace fs = std::filesystem;

constexpr const char* fileStatus = "Cleartrace: ";
constexpr const char* listingStatus = "Cleartrace: listing";
}  // namespace

RandomClean::RandomClean(Choices& choices, Harness& harness, fs::path source, const SceneShape& shape,
                         std::string installing, std::vector<CleanedCopy>& copies)
    : choices_(choices),
      harness_(harness),
      source_(std::move(source)),
      shape_(shape),
      installing_(std::move(installing)),
      copies_(copies) {
    previousHook_ = harness_.host().ui.statusBar.onChange;
    harness_.host().ui.statusBar.onChange = [this](const substitute::StatusChange& change) {
        if (previousHook_) previousHook_(change);
        if (change.kind != substitute::StatusChange::Kind::Text || change.text.rfind(fileStatus, 0) != 0 ||
            change.text.rfind(listingStatus, 0) == 0 || changeAt_ == 0 || ++filesShown_ != changeAt_) {
            return;
        }
        // "Cleartrace: <file> (i of n)": the file about to be read.
        const std::string text = change.text.substr(std::string_view(fileStatus).size());
        changeSource(text.substr(0, text.rfind(" (")));
    };
}

// The harness outlives this: its hook must not call into it.
RandomClean::~RandomClean() { harness_.host().ui.statusBar.onChange = previousHook_; }

std::vector<std::string> RandomClean::sourceScenes() const {
    std::vector<fs::path> files;
    std::vector<fs::path> linkedTo;
    std::error_code error;
    for (auto entry = fs::recursive_directory_iterator(source_, fs::directory_options::skip_permission_denied, error);
         !error && entry != fs::recursive_directory_iterator(); entry.increment(error)) {
        std::error_code problem;
        const fs::file_status status = entry->symlink_status(problem);
        if (fs::is_symlink(status)) linkedTo.push_back(fs::weakly_canonical(entry->path(), problem));
        if (fs::is_regular_file(status) && entry->path().extension() == ".json") files.push_back(entry->path());
    }
    std::vector<std::string> scenes;
    for (const fs::path& file : files) {
        std::error_code problem;
        if (std::find(linkedTo.begin(), linkedTo.end(), fs::weakly_canonical(file, problem)) != linkedTo.end())
            continue;
        scenes.push_back(fs::relative(file, source_).generic_string());
    }
    std::sort(scenes.begin(), scenes.end());  // the walk's order is the file system's
    return scenes;
}

// One file not read yet (reading or after it, in byte order) deleted or
// rewritten, or a new file made: the source as the run must leave it is the
// one after the change.
void RandomClean::changeSource(const std::string& reading) {
    std::vector<std::string> later = sourceScenes();
    later.erase(later.begin(), std::lower_bound(later.begin(), later.end(), reading));
    const uint64_t change = choices_.below(3);
    std::error_code error;
    if (change == 2 || later.empty()) {
        appeared_ = "appeared" + std::to_string(++made_) + ".json";
        std::ofstream(source_ / appeared_, std::ios::binary) << randomFolderScene(choices_, shape_, installing_);
    } else {
        const fs::path file = source_ / later[choices_.below(later.size())];
        if (change == 0) {
            fs::remove(file, error);
        } else {
            std::ofstream(file, std::ios::binary | std::ios::trunc) << randomFolderScene(choices_, shape_, installing_);
        }
    }
    folders_.sourceBefore = kit::folderState(source_);
}

fs::path RandomClean::prepare() {
    if (destinations_.empty() || !choices_.oneIn(3)) {
        destinations_.push_back(std::make_unique<kit::TemporaryFolder>("random-clean"));
        // Files of someone else's where copies would go.
        const std::vector<std::string> scenes = sourceScenes();
        const int64_t foreign = scenes.empty() ? 0 : choices_.between(0, 2);
        for (int64_t i = 0; i < foreign; ++i) {
            destinations_.back()->write(scenes[choices_.below(scenes.size())], "someone else's file\n");
        }
    }
    const fs::path& destination = destinations_.back()->path();
    folders_ = cleanFoldersBefore(source_, destination);
    substitute::KernelServices& services = harness_.host().services;
    const uint64_t refusal = choices_.below(6);
    refused_ = refusal < 2;
    if (refusal == 0) services.failSave(choices_.between(1, 3));
    if (refusal == 1) services.failFolderCreation(choices_.between(1, 3));
    filesShown_ = 0;
    appeared_.clear();
    changeAt_ = choices_.oneIn(3) ? choices_.between(1, 4) : 0;
    return destination;
}

std::string RandomClean::judge(bool ran, const Rows& rows, CleanBoxes boxes) {
    substitute::KernelServices& services = harness_.host().services;
    services.failSave(0);
    services.failFolderCreation(0);
    changeAt_ = 0;
    if (!ran) {
        const std::string problem = cleanLeft(folders_, {}, false);
        return problem.empty() ? "" : "a clean answered No: " + problem;
    }
    listed_ = folders_.destination;
    for (const std::vector<std::string>& row : rows) {
        if (!appeared_.empty() && row[0] == appeared_) return "a file made after the listing has a row: " + appeared_;
    }
    std::string problem = cleanLeft(folders_, rows, refused_);
    if (!problem.empty()) return problem;
    for (CleanedCopy& copy : cleanedCopies(folders_, rows, boxes)) copies_.push_back(std::move(copy));
    return {};
}

}  // namespace validator
