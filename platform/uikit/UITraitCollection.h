#pragma once

#include "platform/foundation/NSObjCRuntime.h"

enum UIUserInterfaceStyle : long {
    UIUserInterfaceStyleUnspecified = 0,
    UIUserInterfaceStyleLight = 1,
    UIUserInterfaceStyleDark = 2,
};

// The traits a view or controller is shown with; only the light/dark style matters here.
class UITraitCollection : public Object {
    TW_OBJECT(UITraitCollection)
public:
    static RefPtr<UITraitCollection> traitCollectionWithUserInterfaceStyle(long style);

    long userInterfaceStyle() const { return m_userInterfaceStyle; }
    bool isEqual(const Object* other) const;

protected:
    UITraitCollection() = default;

private:
    bool isEqualImpl(Object* other) const { return isEqual(other); }
    unsigned long hashImpl() const { return static_cast<unsigned long>(m_userInterfaceStyle); }

    long m_userInterfaceStyle { UIUserInterfaceStyleUnspecified };
};
