#include "platform/language.h"
#include "platform/win32/backend.h"

namespace platform {

std::uint16_t user_default_lang_id() {
    return GetUserDefaultLangID();
}

} // namespace platform
