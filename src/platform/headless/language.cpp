#include "platform/language.h"
#include "platform/headless/headless.h"
#include "platform/headless/state.h"

namespace headless {

void set_user_lang_id(std::uint16_t lang_id) {
    state().user_lang_id = lang_id;
}

} // namespace headless

namespace platform {

std::uint16_t user_default_lang_id() {
    return headless::state().user_lang_id;
}

} // namespace platform
