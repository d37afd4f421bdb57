#include "ui/message_boxes.h"

namespace substitute {

int32_t showMessageBox(MessageBoxes& boxes, std::string text, int32_t style) {
    int32_t answer = HOST_ANSWER_OK;
    if (style == HOST_MESSAGE_BOX_QUESTION) {
        answer = boxes.defaultQuestionAnswer;
        if (!boxes.questionAnswers.empty()) {
            answer = boxes.questionAnswers.front();
            boxes.questionAnswers.pop_front();
        }
    }
    boxes.shown.push_back({std::move(text), style, answer});
    if (boxes.onShow) boxes.onShow(boxes.shown.back());
    return answer;
}

}  // namespace substitute
