#pragma once

#include "platform/runtime/Runtime.h"
#include "tweak/styling/QFConfig.h"

#include <array>
#include <cstdint>
#include <unordered_map>

// Views painted with a cached colour, and what their paint depended on then. Layout passes
// repaint every platter and every group's toggles; while no view moved, changed or got
// another request (Hooks::viewChangeCount), the runtime knows the same classes and the
// style record holds the same values, each still shows exactly what painting it again
// would give. Keyed by the object whose hook paints; an object is forgotten when it goes,
// and the whole table when anything changes, so it holds no more than one unchanged
// screen. Used on the main thread only, as the hooks that paint are.
class PaintedViews {
public:
    // What a paint depends on besides the colour cache, which only ever gains entries.
    struct Stamp {
        uint64_t viewChanges { 0 };
        uint64_t runtimeGeneration { 0 };
        std::array<long, 9> record {};

        bool operator==(const Stamp&) const = default;
    };

    static PaintedViews& notificationPlatters();
    static PaintedViews& groupToggles();

    // Taken before painting.
    static Stamp now();

    bool stillPainted(const Object* painter);
    // A change while it was painted (its own new colours among them) leaves it to the next pass.
    void remember(const Object* painter, const Stamp& before);
    void forget(const Object* painter) { m_painted.erase(painter); }

private:
    void startOver(uint64_t viewChanges);

    uint64_t m_viewChanges { 0 };
    std::unordered_map<const Object*, Stamp> m_painted;
};
