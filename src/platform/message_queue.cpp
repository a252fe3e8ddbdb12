#include "platform/message_queue.h"
#include "platform/clock.h"

namespace platform {

bool front_message(const MessageQueue& queue, Message& message) {
    if (queue.empty())
        return false;
    message = queue.front();
    return true;
}

bool take_message(MessageQueue& queue, Message& message) {
    message = queue.front();
    queue.pop_front();
    return message.kind != MessageKind::Quit;
}

// Every backend lets about a millisecond pass when nothing waits.
bool peek_message(Message& message) {
    return peek_message(message, time_ms() + 1);
}

void dispatch_to(WindowProcedure procedure, const Message& message) {
    if (procedure)
        procedure(message);
    else
        default_window_procedure(message);
}

} // namespace platform
