#include "platform/message_queue.h"
#include "platform/clock.h"

namespace platform {
namespace {

WindowProcedure window_procedure = nullptr;

} // namespace

MessageQueue& message_queue() {
    static MessageQueue queue;
    return queue;
}

void set_window_procedure(WindowProcedure procedure) {
    window_procedure = procedure;
}

// Without a procedure, the default handling.
void dispatch_message(const Message& message) {
    if (window_procedure)
        window_procedure(message);
    else
        default_window_procedure(message);
}

bool peek_message(Message& message, std::uint32_t due_ms) {
    pump_system_messages();
    if (!message_queue().empty()) {
        message = message_queue().front();
        return true;
    }
    idle_until(due_ms);
    return false;
}

// Every backend lets about a millisecond pass when nothing waits.
bool peek_message(Message& message) {
    return peek_message(message, time_ms() + 1);
}

bool get_message(Message& message) {
    MessageQueue& queue = message_queue();
    for (pump_system_messages(); queue.empty(); pump_system_messages())
        await_system_messages(true);
    message = queue.front();
    queue.pop_front();
    return message.kind != MessageKind::Quit;
}

void wait_message() {
    pump_system_messages();
    if (message_queue().empty())
        await_system_messages(false);
}

// Comes after the messages already queued, as the system's does.
void post_quit_message(int exit_code) {
    message_queue().push_back({MessageKind::Quit, exit_code});
}

} // namespace platform
