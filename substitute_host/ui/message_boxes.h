// Modal message boxes: every box is recorded with the answer it got. The
// answers to Yes/No questions come from a queue, then from a sticky default.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "host/host_tables.h"

namespace substitute {

struct MessageBoxRecord {
    std::string text;
    int32_t style = 0;
    int32_t answer = 0;
};

struct MessageBoxes {
    std::vector<MessageBoxRecord> shown;
    // Answers to the next questions, used up front to back; then the default.
    std::deque<int32_t> questionAnswers;
    int32_t defaultQuestionAnswer = HOST_ANSWER_YES;
    // Called for every box as it is answered (the driver prints them).
    std::function<void(const MessageBoxRecord&)> onShow;
};

// Shows a box the way the user answers it; returns the answer.
int32_t showMessageBox(MessageBoxes& boxes, std::string text, int32_t style);

}  // namespace substitute
