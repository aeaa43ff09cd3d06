#pragma once

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/settings/PSSpecifier.h"

#include <string>
#include <vector>

// Turns a specifier list (the dictionary of "<name>.plist", whose "items" array holds one
// dictionary per row) into specifiers, as the Settings app does:
// "cell" → cellType, "label" → name, "id" → identifier, "detail" → detail controller
// class, "action" → button action, "cellClass" kept as the name of the cell class; every
// key (these included) is kept as a property. Rows that edit a value get the target's
// readPreferenceValue: / setPreferenceValue:specifier:.
// Items of the wrong shape (not a dictionary, no "cell", an unknown cell type, a
// non-string "label", "detail", "action" or "cellClass") are skipped, each with a problem.
class SpecifierPlistReader {
public:
    struct Result {
        RefPtr<NSArray> specifiers;
        std::vector<std::string> problems;
    };

    static Result read(const Object* plist, id target, std::string_view listName);
};
