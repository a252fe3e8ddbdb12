// DirectDraw's interfaces in their C form: a table of function pointers
// with the object first, the same layout the backend calls through, so the
// fake fills in only the methods the backend uses.

#define CINTERFACE
#include "fake_direct_draw.h"

#include <ddraw.h>

#include <memory>

namespace {

constexpr int side_width = 640;
constexpr int side_height = 480;

struct FakeSurface : IDirectDrawSurface7 {
    FakeDisplay* display = nullptr;
    int generation = 0;
    FakeSurface* back = nullptr; // the chain's back buffer, on the front
    std::vector<std::uint8_t> pixels = std::vector<std::uint8_t>(side_width * side_height);
};

struct FakePalette : IDirectDrawPalette {
    FakeDisplay* display = nullptr;
};

struct FakeDirectDraw : IDirectDraw7 {
    FakeDisplay* display = nullptr;
    // Every object lives as long as the fake: releasing one only counts.
    std::vector<std::unique_ptr<FakeSurface>> surfaces;
    std::vector<std::unique_ptr<FakePalette>> palettes;
};

template <class Object> ULONG STDMETHODCALLTYPE counted(Object*) {
    return 1;
}

// Made for an earlier display mode than the one now set.
bool stale(const FakeSurface* surface) {
    return surface->generation != surface->display->generation;
}

FakeSurface* surface_of(IDirectDrawSurface7* surface) {
    return static_cast<FakeSurface*>(surface);
}

IDirectDrawSurface7Vtbl surface_table() {
    IDirectDrawSurface7Vtbl table{};
    table.AddRef = counted<IDirectDrawSurface7>;
    table.Release = counted<IDirectDrawSurface7>;
    table.IsLost = [](IDirectDrawSurface7* self) -> HRESULT {
        return stale(surface_of(self)) ? DDERR_SURFACELOST : DD_OK;
    };
    table.Restore = [](IDirectDrawSurface7* self) -> HRESULT {
        return stale(surface_of(self)) ? DDERR_WRONGMODE : DD_OK;
    };
    table.GetAttachedSurface = [](IDirectDrawSurface7* self, DDSCAPS2*,
                                  IDirectDrawSurface7** back) -> HRESULT {
        *back = surface_of(self)->back;
        return *back ? DD_OK : DDERR_NOTFOUND;
    };
    table.Lock = [](IDirectDrawSurface7* self, RECT*, DDSURFACEDESC2* locked, DWORD,
                    HANDLE) -> HRESULT {
        FakeSurface* surface = surface_of(self);
        if (stale(surface))
            return DDERR_SURFACELOST;
        locked->dwWidth = side_width;
        locked->dwHeight = side_height;
        locked->lPitch = side_width;
        locked->lpSurface = surface->pixels.data();
        return DD_OK;
    };
    table.Unlock = [](IDirectDrawSurface7*, RECT*) -> HRESULT { return DD_OK; };
    table.Flip = [](IDirectDrawSurface7* self, IDirectDrawSurface7*, DWORD) -> HRESULT {
        FakeSurface* surface = surface_of(self);
        if (stale(surface))
            return DDERR_SURFACELOST;
        surface->display->shown = surface->back->pixels;
        ++surface->display->flips;
        return DD_OK;
    };
    table.SetPalette = [](IDirectDrawSurface7*, IDirectDrawPalette*) -> HRESULT { return DD_OK; };
    table.GetSurfaceDesc = [](IDirectDrawSurface7*, DDSURFACEDESC2* described) -> HRESULT {
        described->dwWidth = side_width;
        described->dwHeight = side_height;
        return DD_OK;
    };
    return table;
}

IDirectDrawPaletteVtbl palette_table() {
    IDirectDrawPaletteVtbl table{};
    table.AddRef = counted<IDirectDrawPalette>;
    table.Release = counted<IDirectDrawPalette>;
    table.SetEntries = [](IDirectDrawPalette* self, DWORD, DWORD first, DWORD count,
                          PALETTEENTRY* entries) -> HRESULT {
        if (first <= 1 && first + count > 1) {
            const PALETTEENTRY& entry = entries[1 - first];
            static_cast<FakePalette*>(self)->display->colour1 = {entry.peRed, entry.peGreen,
                                                                 entry.peBlue};
        }
        return DD_OK;
    };
    return table;
}

FakeSurface* new_surface(FakeDirectDraw& direct_draw) {
    static IDirectDrawSurface7Vtbl table = surface_table();
    auto surface = std::make_unique<FakeSurface>();
    surface->lpVtbl = &table;
    surface->display = direct_draw.display;
    surface->generation = direct_draw.display->generation;
    direct_draw.surfaces.push_back(std::move(surface));
    return direct_draw.surfaces.back().get();
}

IDirectDraw7Vtbl direct_draw_table() {
    IDirectDraw7Vtbl table{};
    table.AddRef = counted<IDirectDraw7>;
    table.Release = counted<IDirectDraw7>;
    table.SetDisplayMode = [](IDirectDraw7* self, DWORD width, DWORD height, DWORD depth, DWORD,
                              DWORD) -> HRESULT {
        FakeDisplay& display = *static_cast<FakeDirectDraw*>(self)->display;
        if (display.refuse_mode)
            return DDERR_UNSUPPORTEDMODE;
        ++display.generation;
        ++display.modes_set;
        display.mode =
            std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(depth);
        return DD_OK;
    };
    // Full-screen only: a primary surface heading a chain with one back buffer.
    table.CreateSurface = [](IDirectDraw7* self, DDSURFACEDESC2* wanted, IDirectDrawSurface7** made,
                             IUnknown*) -> HRESULT {
        auto& direct_draw = *static_cast<FakeDirectDraw*>(self);
        if (!(wanted->ddsCaps.dwCaps & DDSCAPS_FLIP) || wanted->dwBackBufferCount != 1)
            return DDERR_UNSUPPORTED;
        FakeSurface* front = new_surface(direct_draw);
        front->back = new_surface(direct_draw);
        ++direct_draw.display->chains_made;
        *made = front;
        return DD_OK;
    };
    table.CreatePalette = [](IDirectDraw7* self, DWORD, PALETTEENTRY*, IDirectDrawPalette** made,
                             IUnknown*) -> HRESULT {
        static IDirectDrawPaletteVtbl palette_functions = palette_table();
        auto& direct_draw = *static_cast<FakeDirectDraw*>(self);
        auto palette = std::make_unique<FakePalette>();
        palette->lpVtbl = &palette_functions;
        palette->display = direct_draw.display;
        *made = palette.get();
        direct_draw.palettes.push_back(std::move(palette));
        return DD_OK;
    };
    return table;
}

} // namespace

void* make_fake_direct_draw(FakeDisplay& display) {
    static IDirectDraw7Vtbl table = direct_draw_table();
    auto direct_draw = std::make_shared<FakeDirectDraw>();
    direct_draw->lpVtbl = &table;
    direct_draw->display = &display;
    display.objects = direct_draw;
    return static_cast<IDirectDraw7*>(direct_draw.get());
}
