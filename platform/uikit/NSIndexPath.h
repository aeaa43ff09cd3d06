#pragma once

#include "platform/foundation/NSObjCRuntime.h"

// A row of a section, as tables address their cells (UIKit's NSIndexPath additions).
class NSIndexPath : public Object {
    TW_OBJECT(NSIndexPath)
public:
    static RefPtr<NSIndexPath> indexPathForRow(NSInteger row, NSInteger section);

    NSInteger row() const { return m_row; }
    NSInteger section() const { return m_section; }
    bool isEqual(const Object* other) const;

protected:
    NSIndexPath() = default;

private:
    bool isEqualImpl(Object* other) const { return isEqual(other); }

    NSInteger m_row { 0 };
    NSInteger m_section { 0 };
};
