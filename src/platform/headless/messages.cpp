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
    platform::message_queue().push_back(message);
}

int queued_messages() {
    return static_cast<int>(platform::message_queue().size());
}

} // namespace headless

namespace platform {

void default_window_procedure(const Message& message) {
    if (message.kind == MessageKind::Close)
        dispatch_message({MessageKind::Destroy, 0});
}

// Messages come only from the test's script, as virtual time passes.
void pump_system_messages() {}

void await_system_messages(bool) {
    headless::fail_if_endless(a_message);
    idle();
}

} // namespace platform
