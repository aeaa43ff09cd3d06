#include "platform/graphics/DrawingBackend.h"

#include <atomic>
#include <cstdio>
#include <dlfcn.h>
#include <filesystem>

namespace {

constexpr const char* drawingLibrary = "libplatform_drawing.so";

constinit std::atomic<DrawingBackend*> installed { nullptr };

DrawingBackend* loadDrawingLibrary()
{
    // The two libraries sit side by side, in the build tree as when installed.
    Dl_info self {};
    if (dladdr(reinterpret_cast<void*>(&DrawingBackend::shared), &self) && self.dli_fname) {
        auto beside = std::filesystem::path(self.dli_fname).parent_path() / drawingLibrary;
        dlopen(beside.c_str(), RTLD_NOW | RTLD_GLOBAL);
    }
    if (!installed.load() && !dlopen(drawingLibrary, RTLD_NOW | RTLD_GLOBAL)) {
        const char* reason = dlerror();
        std::fprintf(stderr, "graphics: cannot load %s (%s); nothing will be drawn\n", drawingLibrary, reason ? reason : "unknown");
    }
    return installed.load();
}

} // namespace

DrawingBackend* DrawingBackend::shared()
{
    if (auto* backend = installed.load(std::memory_order_acquire))
        return backend;
    static DrawingBackend* loaded = loadDrawingLibrary();
    return loaded;
}

void DrawingBackend::install(DrawingBackend& backend) { installed.store(&backend, std::memory_order_release); }
