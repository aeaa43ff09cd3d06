#pragma once

#include "platform/foundation/NSMutableDictionary.h"

// The cache's five surfaces, each a property holding its dictionary.
#define TINTWELL_QFCOLORMANAGER_FIELDS(FIELD) \
    FIELD(notificationColors, NotificationColors) \
    FIELD(widgetColors, WidgetColors)             \
    FIELD(axonColors, AxonColors)                 \
    FIELD(grupiColors, GrupiColors)               \
    FIELD(daynColors, DaynColors)

// The process-wide colour cache: per surface, a dictionary from bundle identifier to the
// colour chosen for that app. Entries are only ever added, by the surface hooks.
class QFColorManager : public Object {
    TW_OBJECT(QFColorManager)
public:
    // +sharedManager: created on first use under the lock bound to the class; never
    // released, so it is handed out without a reference.
    static QFColorManager* sharedManager();

    // Borrowed, as the phone's property getters are; every layout pass reads them.
#define TINTWELL_QFCOLORMANAGER_ACCESSORS(name, Name)                            \
    const RefPtr<NSMutableDictionary>& name() const { return m_##name; }        \
    void set##Name(RefPtr<NSMutableDictionary> colors) { m_##name = std::move(colors); }
    TINTWELL_QFCOLORMANAGER_FIELDS(TINTWELL_QFCOLORMANAGER_ACCESSORS)
#undef TINTWELL_QFCOLORMANAGER_ACCESSORS

protected:
    QFColorManager() = default;

private:
    static RefPtr<QFColorManager> sharedManagerImpl() { return sharedManager(); }
    Id initImpl();

#define TINTWELL_QFCOLORMANAGER_MEMBER(name, Name) RefPtr<NSMutableDictionary> m_##name;
    TINTWELL_QFCOLORMANAGER_FIELDS(TINTWELL_QFCOLORMANAGER_MEMBER)
#undef TINTWELL_QFCOLORMANAGER_MEMBER
};
