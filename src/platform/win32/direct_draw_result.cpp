#include "platform/win32/direct_draw.h"

namespace win32 {

platform::Result result_of(HRESULT result) {
    using platform::Result;
    switch (result) {
    case DD_OK:
        return Result::Ok;
    case DDERR_SURFACELOST:
    case DDERR_WRONGMODE: // lost for good: the display mode changed since it was made
        return Result::SurfaceLost;
    case DDERR_WASSTILLDRAWING:
        return Result::WasStillDrawing;
    case DDERR_INVALIDRECT:
        return Result::InvalidRect;
    case DDERR_INVALIDPARAMS:
        return Result::InvalidParams;
    case DDERR_INVALIDOBJECT:
        return Result::InvalidObject;
    case DDERR_OUTOFMEMORY:
        return Result::OutOfMemory;
    case DDERR_UNSUPPORTED:
        return Result::Unsupported;
    case DDERR_EXCLUSIVEMODEALREADYSET:
        return Result::ExclusiveModeAlreadySet;
    case DDERR_HWNDALREADYSET:
        return Result::HwndAlreadySet;
    case DDERR_HWNDSUBCLASSED:
        return Result::HwndSubclassed;
    case DDERR_INVALIDMODE:
        return Result::InvalidMode;
    case DDERR_LOCKEDSURFACES:
        return Result::LockedSurfaces;
    case DDERR_NOEXCLUSIVEMODE:
        return Result::NoExclusiveMode;
    case DDERR_SURFACEBUSY:
        return Result::SurfaceBusy;
    case DDERR_UNSUPPORTEDMODE:
        return Result::UnsupportedMode;
    default:
        return Result::Generic;
    }
}

} // namespace win32
