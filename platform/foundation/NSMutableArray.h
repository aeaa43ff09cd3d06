#pragma once

#include "platform/foundation/NSArray.h"

// Nil objects and out-of-range indexes are ignored rather than raised.
class NSMutableArray : public NSArray {
    TW_OBJECT(NSMutableArray)
public:
    static RefPtr<NSMutableArray> array();
    static RefPtr<NSMutableArray> arrayWithArray(const NSArray* array);

    void addObject(Object* object);
    void addObjectsFromArray(const NSArray* array);
    void insertObject(Object* object, NSUInteger index);
    void removeObjectAtIndex(NSUInteger index);
    void replaceObjectAtIndex(NSUInteger index, Object* object);
    // Removes every element equal to the object.
    void removeObject(const Object* object);
    void removeLastObject();
    void removeAllObjects() { m_objects.clear(); }

protected:
    NSMutableArray() = default;
    explicit NSMutableArray(std::vector<Id> objects)
        : NSArray(std::move(objects))
    {
    }

private:
    void removeObjectImpl(Object* object) { removeObject(object); }
};
