#include "tweak/hooks/PaintedViews.h"

#include "tweak/hooks/HookSupport.h"
#include "tweak/settings/SettingsGlobals.h"

namespace {

std::array<long, 9> recordValues(const QFConfig* record)
{
    if (!record)
        return { -1, -1, -1, -1, -1, -1, -1, -1, -1 };
    return { record->borderThiccness(), record->borderAlpha(), record->fullAlpha(), record->bothThickness(),
        record->darkBackgroundAlpha(), record->darkCornerAlpha(), record->lightBackgroundAlpha(), record->lightCornerAlpha(),
        record->style() };
}

} // namespace

PaintedViews& PaintedViews::notificationPlatters()
{
    static auto* painted = new PaintedViews;
    return *painted;
}

PaintedViews& PaintedViews::groupToggles()
{
    static auto* painted = new PaintedViews;
    return *painted;
}

PaintedViews::Stamp PaintedViews::now()
{
    return { Hooks::viewChangeCount(), objc_lookupGeneration(), recordValues(NotifsConfig.get()) };
}

void PaintedViews::startOver(uint64_t viewChanges)
{
    m_painted.clear();
    m_viewChanges = viewChanges;
}

bool PaintedViews::stillPainted(const Object* painter)
{
    uint64_t viewChanges = Hooks::viewChangeCount();
    if (m_viewChanges != viewChanges) {
        startOver(viewChanges);
        return false;
    }
    auto found = m_painted.find(painter);
    return found != m_painted.end() && found->second == now();
}

void PaintedViews::remember(const Object* painter, const Stamp& before)
{
    if (before.viewChanges != Hooks::viewChangeCount())
        return;
    if (m_viewChanges != before.viewChanges)
        startOver(before.viewChanges);
    m_painted[painter] = before;
}
