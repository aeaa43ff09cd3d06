#pragma once

#include <cstddef>
#include <string_view>

// Looks at the bytes of a property list before libplist does. libplist 2.2.0 recurses once
// per nesting level of a binary list (and again when it frees any tree), re-checks the whole
// path at every object, copies shared objects once per reference, and asserts (aborting the
// process) on a string or key whose length differs from its strlen. Bytes this guard admits
// can do none of that: no nesting deeper than the depth given, no reference cycles, no NUL in
// a string or key, no broken UTF-16, and no expansion far beyond the size of the file.
class PropertyListGuard {
public:
    // The form libplist picks: binary when the bytes start with "bplist00", else XML.
    static bool admits(std::string_view bytes, int maximumDepth);

    static bool admitsBinary(std::string_view bytes, int maximumDepth);
    static bool admitsXML(std::string_view bytes, int maximumDepth);

    // What libplist would build from a binary list, in objects and bytes copied, may not
    // exceed this many units (an object counts as 16): a list without shared containers stays
    // far below it, one whose arrays share each other to blow up does not.
    static size_t expansionLimit(size_t fileSize) { return 16 * fileSize + (16u << 20); }
};
