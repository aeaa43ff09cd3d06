#pragma once

#include "platform/uikit/UITraitCollection.h"

#include <optional>

// The responder chain and the bookkeeping views and controllers share as trait
// environments.
class UIResponder : public Object {
    TW_OBJECT(UIResponder)
public:
    RefPtr<UIResponder> nextResponder() const { return msgSend<RefPtr<UIResponder>>(this, SELECTOR("nextResponder")); }
    RefPtr<UITraitCollection> traitCollection() const { return msgSend<RefPtr<UITraitCollection>>(this, SELECTOR("traitCollection")); }
    void traitCollectionDidChange(UITraitCollection* previous) { msgSend<void>(this, SELECTOR("traitCollectionDidChange:"), previous); }

protected:
    UIResponder() = default;

    // Sends traitCollectionDidChange: when the style differs from the one last delivered;
    // the first delivery carries no previous collection.
    void deliverUserInterfaceStyle(long style);

private:
    Id nextResponderImpl() const { return nullptr; }

    std::optional<long> m_deliveredUserInterfaceStyle;
};
