#include "platform/clock.h"
#include "platform/headless/headless.h"
#include "platform/headless/state.h"
#include "platform/message_queue.h"

namespace {
// What get_message and wait_message wait for.
constexpr const char* a_message = "a window message";
} // namespace

namespace headless {

void post_at(std::uint64_t when, platform::Message message) {
    schedule(when, {ScriptEvent::Kind::Post, 0, message});
}

void post(platform::Message message) {
    state().messages.push_back(message);
}

int queued_messages() {
    return static_cast<int>(state().messages.size());
}

} // namespace headless

namespace platform {

void set_window_procedure(WindowProcedure procedure) {
    headless::state().window_procedure = procedure;
}

void default_window_procedure(const Message& message) {
    if (message.kind == MessageKind::Close)
        dispatch_message({MessageKind::Destroy, 0});
}

bool peek_message(Message& message, std::uint32_t due_ms) {
    if (front_message(headless::state().messages, message))
        return true;
    idle_until(due_ms);
    return false;
}

bool get_message(Message& message) {
    headless::State& s = headless::state();
    while (s.messages.empty()) {
        headless::fail_if_endless(a_message);
        idle();
    }
    return take_message(s.messages, message);
}

void translate_message(const Message&) {}

void dispatch_message(const Message& message) {
    dispatch_to(headless::state().window_procedure, message);
}

void wait_message() {
    if (headless::state().messages.empty()) {
        headless::fail_if_endless(a_message);
        idle();
    }
}

void post_quit_message(int exit_code) {
    headless::post({MessageKind::Quit, exit_code});
}

} // namespace platform
