#pragma once

#include "platform/foundation/NSMutableDictionary.h"

// The process-wide colour cache: per surface, a dictionary from bundle identifier to the
// colour chosen for that app. Entries are only ever added, by the surface hooks.
class QFColorManager : public Object {
    TW_OBJECT(QFColorManager)
public:
    // +sharedManager: created on first use under the lock bound to the class; never
    // released, so it is handed out without a reference.
    static QFColorManager* sharedManager();

    // Borrowed, as the phone's property getters are; every layout pass reads them.
    const RefPtr<NSMutableDictionary>& notificationColors() const { return m_notificationColors; }
    const RefPtr<NSMutableDictionary>& widgetColors() const { return m_widgetColors; }
    const RefPtr<NSMutableDictionary>& axonColors() const { return m_axonColors; }
    const RefPtr<NSMutableDictionary>& grupiColors() const { return m_grupiColors; }
    const RefPtr<NSMutableDictionary>& daynColors() const { return m_daynColors; }

    void setNotificationColors(RefPtr<NSMutableDictionary> colors) { m_notificationColors = std::move(colors); }
    void setWidgetColors(RefPtr<NSMutableDictionary> colors) { m_widgetColors = std::move(colors); }
    void setAxonColors(RefPtr<NSMutableDictionary> colors) { m_axonColors = std::move(colors); }
    void setGrupiColors(RefPtr<NSMutableDictionary> colors) { m_grupiColors = std::move(colors); }
    void setDaynColors(RefPtr<NSMutableDictionary> colors) { m_daynColors = std::move(colors); }

protected:
    QFColorManager() = default;

private:
    static RefPtr<QFColorManager> sharedManagerImpl() { return sharedManager(); }
    Id initImpl();

    RefPtr<NSMutableDictionary> m_notificationColors;
    RefPtr<NSMutableDictionary> m_widgetColors;
    RefPtr<NSMutableDictionary> m_axonColors;
    RefPtr<NSMutableDictionary> m_grupiColors;
    RefPtr<NSMutableDictionary> m_daynColors;
};
