#include "platform/springboard/RuntimeSnapshot.h"

RuntimeSnapshot::RuntimeSnapshot()
{
    for (Class cls : objc_copyClassList()) {
        // Class methods live in the metaclass, which the class list does not name.
        for (Class table : { cls, objc_getMetaClass(cls) }) {
            if (!table)
                continue;
            auto& methods = m_classes[table];
            for (SEL selector : class_copyMethodList(table))
                methods.emplace(selector, method_getImplementation(class_getInstanceMethod(table, selector)));
        }
    }
}

IMP RuntimeSnapshot::ownImplementation(Class cls, SEL selector) const
{
    auto methods = m_classes.find(cls);
    if (methods == m_classes.end())
        return nullptr;
    auto method = methods->second.find(selector);
    return method == methods->second.end() ? nullptr : method->second;
}

bool RuntimeSnapshot::responded(Class cls, SEL selector) const
{
    for (Class c = cls; c; c = class_getSuperclass(c)) {
        if (ownImplementation(c, selector))
            return true;
    }
    return false;
}

void RuntimeSnapshot::addMethodChanges(Class table, char kind, const std::string& className, std::vector<std::string>& changes) const
{
    for (SEL selector : class_copyMethodList(table)) {
        IMP now = method_getImplementation(class_getInstanceMethod(table, selector));
        IMP before = ownImplementation(table, selector);
        if (before == now)
            continue;
        bool replaced = before || responded(table, selector);
        changes.push_back(std::string(replaced ? "replaced " : "added ") + kind + "[" + className + " " + sel_getName(selector) + "]");
    }
}

std::vector<std::string> RuntimeSnapshot::changesSince() const
{
    std::vector<std::string> changes;
    for (Class cls : objc_copyClassList()) {
        std::string className = class_getName(cls);
        if (!m_classes.contains(cls)) {
            changes.push_back("added class " + className);
            continue;
        }
        // Class methods first, as the phone's headers list them.
        if (Class meta = objc_getMetaClass(cls))
            addMethodChanges(meta, '+', className, changes);
        addMethodChanges(cls, '-', className, changes);
    }
    return changes;
}
