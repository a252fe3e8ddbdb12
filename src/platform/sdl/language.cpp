#include "platform/language.h"
#include "platform/posix/locale.h"

namespace platform {

std::uint16_t user_default_lang_id() {
    return lang_id_from_locale(messages_locale());
}

} // namespace platform
