#pragma once

#include "platform/runtime/Runtime.h"

#include <string>
#include <unordered_map>
#include <vector>

// The methods each registered class owns, instance and class methods, with their
// implementations, at one moment: what the extension loader compares to say what a
// library changed.
class RuntimeSnapshot {
public:
    RuntimeSnapshot();

    // "added class X", "replaced +[X sel]", "added +[X sel]", "replaced -[X sel]",
    // "added -[X sel]", in class-name order, a class's class methods before its instance
    // methods. A hook on an inherited method adds it to the subclass, but to the reader it
    // replaced what the class did before.
    std::vector<std::string> changesSince() const;

private:
    IMP ownImplementation(Class, SEL) const;
    bool responded(Class, SEL) const;
    // kind is '-' for a class's own method table, '+' for its metaclass's.
    void addMethodChanges(Class table, char kind, const std::string& className, std::vector<std::string>& changes) const;

    std::unordered_map<Class, std::unordered_map<SEL, IMP>> m_classes;
};
