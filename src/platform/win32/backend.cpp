#include "platform/win32/backend.h"

namespace win32 {

Backend& backend() {
    static Backend instance;
    return instance;
}

} // namespace win32
