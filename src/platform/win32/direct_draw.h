#pragma once

// DirectDraw objects held by counted reference, and DirectDraw's results in
// the platform's terms.

#include "platform/video.h"
#include "platform/win32/backend.h"

#include <ddraw.h>

#include <memory>

namespace win32 {

struct Releaser {
    void operator()(IUnknown* object) const { object->Release(); }
};

template <class Interface> using Com = std::unique_ptr<Interface, Releaser>;

platform::Result result_of(HRESULT result);

} // namespace win32
