#pragma once

#include "platform/runtime/Runtime.h"

#include <string>
#include <unordered_map>
#include <vector>

// The methods each registered class owns, with their implementations, at one moment:
// what the extension loader compares to say what a library changed.
class RuntimeSnapshot {
public:
    RuntimeSnapshot();

    // "added class X", "replaced -[X sel]", "added -[X sel]", in class-name order. A hook on
    // an inherited method adds it to the subclass, but to the reader it replaced what the
    // class did before.
    std::vector<std::string> changesSince() const;

private:
    IMP ownImplementation(Class, SEL) const;
    bool responded(Class, SEL) const;

    std::unordered_map<Class, std::unordered_map<SEL, IMP>> m_classes;
};
