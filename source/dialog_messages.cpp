// The texts of the question and of the notices, and the message boxes that
// show them.
#include "dialog_messages.h"

#include "host/dialog.h"
#include "host/path.h"

namespace {

// What a run cut short by lack of memory tells the user, per Action.
constexpr const char* listIncomplete = "Cleartrace ran out of memory. The list is incomplete.";
constexpr const char* nothingRemoved = "Cleartrace ran out of memory. Nothing was removed.";
constexpr const char* outOfMemoryTexts[] = {
    "Cleartrace ran out of memory. The search is incomplete.",
    listIncomplete,
    nothingRemoved,
    listIncomplete,
    nothingRemoved,
    listIncomplete,
    listIncomplete,
};

constexpr const char* undoRefusedText = "Cleartrace could not record the removal for Undo. Nothing was removed.";

// The question before a removal, per Action (only the removals ask).
constexpr const char* removalQuestions[] = {
    nullptr,
    nullptr,
    "Are you sure you want to delete the plugin instances?",
    nullptr,
    "Are you sure you want to delete every instance of the missing plugins?",
    nullptr,
    nullptr,  // asked with the folders it names (confirmedClean)
};

// What Identify says of the instance it met, per PluginType.
constexpr const char* identifiedAs[pluginTypeCount] = {
    " is a Tag plugin with the default name ",      " is a Shader plugin with the default name ",
    " is an Object plugin with the default name ",  " is a VideoPost plugin with the default name ",
    " is a Material plugin with the default name ",
};

}  // namespace

bool confirmedRemoval(const SearchRequest& request, SearchOutcome& outcome) {
    if (!isAction(request.action) || !request.warnBeforeDeleting) return true;
    const char* wording = removalQuestions[entryId(request.action)];
    if (wording == nullptr) return true;
    const host::String question(wording);
    // Out of memory the host makes the empty text: a blank Yes/No box would
    // have the user confirm a removal without saying what it is.
    if (question.refused()) {
        outcome.outOfMemory = true;
        return false;
    }
    return host::messageBox(question, HOST_MESSAGE_BOX_QUESTION) == HOST_ANSWER_YES;
}

bool confirmedClean(const SearchRequest& request, const host::Path& folder, const host::Path& destination,
                    bool& outOfMemory) {
    if (!request.warnBeforeDeleting) return true;
    const host::String question = host::String("Write a copy without missing plug-ins of every scene file below ") +
                                  folder.toString() + " into " + destination.toString() + "?";
    // A question with a folder missing would have the user agree to less than is done.
    if (question.refused()) {
        outOfMemory = true;
        return false;
    }
    return host::messageBox(question, HOST_MESSAGE_BOX_QUESTION) == HOST_ANSWER_YES;
}

void tellCopiesInside() {
    tellNotice(Action::RemoveMissingInFolder,
               "Cleartrace writes the cleaned copies outside the folder it searches. Choose another folder.");
}

void tellOutcome(const SearchRequest& request, const SearchOutcome& outcome) {
    if (outcome.cancelled) return;
    if (outcome.outOfMemory) {
        host::messageBox(outOfMemoryTexts[entryId(request.action)], HOST_MESSAGE_BOX_NOTICE);
        return;
    }
    if (outcome.undoRefused) {
        host::messageBox(undoRefusedText, HOST_MESSAGE_BOX_NOTICE);
        return;
    }
    for (int32_t i = 0; i < outcome.shadersLeftNotices; ++i)
        host::messageBox(outcome.shadersLeftText, HOST_MESSAGE_BOX_NOTICE);
    if (request.action == Action::Identify && outcome.foundType) {
        tellNotice(request.action, host::String("Plugin ") + host::String::number(request.pluginId) +
                                       identifiedAs[entryId(*outcome.foundType)] + outcome.foundName + ".");
    }
}

void tellNotice(Action action, const host::String& text) {
    if (isAction(action)) tellNotice(text, outOfMemoryTexts[entryId(action)]);
}

void tellNotice(const host::String& text, const char* standIn) {
    if (!text.refused()) {
        host::messageBox(text, HOST_MESSAGE_BOX_NOTICE);
    } else {
        // Shown whole or not at all; if even this cannot be made, nothing is shown.
        host::messageBox(standIn, HOST_MESSAGE_BOX_NOTICE);
    }
}

void tellFolderOutcome(const FolderOutcome& outcome) {
    constexpr Action action = Action::FindMissingInFolder;
    if (outcome.outOfMemory) {
        host::messageBox(outOfMemoryTexts[entryId(action)], HOST_MESSAGE_BOX_NOTICE);
    } else if (outcome.listingStopped) {
        tellNotice(action, host::String("Cleartrace stopped while listing the folder. No scene file was searched."));
    } else if (outcome.stopped) {
        tellNotice(action, host::String("Cleartrace stopped after ") + host::String::number(outcome.searched) + " of " +
                               host::String::number(outcome.files) + " scene files.");
    }
}

void tellNotOpened(const host::String& shownPath) {
    tellNotice(host::String("Cleartrace could not open ") + shownPath + ".",
               "Cleartrace could not open the scene file.");
}

void tellNotSaved(const host::String& path) {
    tellNotice(host::String("Cleartrace could not save the list to ") + path + ".",
               "Cleartrace could not save the list.");
}
