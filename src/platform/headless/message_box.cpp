#include "platform/headless/screen.h"
#include "platform/headless/state.h"
#include "platform/window.h"

namespace headless {

void answer_next_box(platform::BoxAnswer answer) {
    state().box_answers.push_back(answer);
}

const std::vector<ShownBox>& shown_boxes() {
    return state().boxes;
}

int cursor_count() {
    return state().cursor_count;
}

platform::Cursor current_cursor() {
    return state().cursor;
}

} // namespace headless

namespace platform {

BoxAnswer message_box(Window* owner, const std::string& text, const std::string& caption,
                      BoxButtons buttons, BoxIcon icon) {
    headless::State& s = headless::state();
    s.boxes.push_back({text, caption, buttons, icon, owner != nullptr, s.cursor_count});
    if (!s.box_answers.empty()) {
        const BoxAnswer answer = s.box_answers.front();
        s.box_answers.pop_front();
        return answer;
    }
    return buttons == BoxButtons::YesNo ? BoxAnswer::No : BoxAnswer::Ok;
}

int show_cursor(bool show) {
    return headless::state().cursor_count += show ? 1 : -1;
}

void set_cursor(Cursor cursor) {
    headless::state().cursor = cursor;
}

} // namespace platform
