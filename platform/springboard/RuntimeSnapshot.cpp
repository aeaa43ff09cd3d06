#include "platform/springboard/RuntimeSnapshot.h"

RuntimeSnapshot::RuntimeSnapshot()
{
    for (Class cls : objc_copyClassList()) {
        auto& methods = m_classes[cls];
        for (SEL selector : class_copyMethodList(cls))
            methods.emplace(selector, method_getImplementation(class_getInstanceMethod(cls, selector)));
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

std::vector<std::string> RuntimeSnapshot::changesSince() const
{
    std::vector<std::string> changes;
    for (Class cls : objc_copyClassList()) {
        std::string className = class_getName(cls);
        if (!m_classes.contains(cls)) {
            changes.push_back("added class " + className);
            continue;
        }
        for (SEL selector : class_copyMethodList(cls)) {
            IMP now = method_getImplementation(class_getInstanceMethod(cls, selector));
            IMP before = ownImplementation(cls, selector);
            if (before == now)
                continue;
            bool replaced = before || responded(cls, selector);
            changes.push_back(std::string(replaced ? "replaced" : "added") + " -[" + className + " " + sel_getName(selector) + "]");
        }
    }
    return changes;
}
