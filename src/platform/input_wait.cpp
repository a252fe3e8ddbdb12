#include "platform/input_wait.h"

namespace platform {
namespace {
const char* innermost = nullptr;
}

InputWait::InputWait(const char* name) : outer_(innermost) {
    innermost = name;
}

InputWait::~InputWait() {
    innermost = outer_;
}

const char* input_wait_name() {
    return innermost;
}

} // namespace platform
