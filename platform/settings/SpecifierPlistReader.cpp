#include "platform/settings/SpecifierPlistReader.h"

#include "platform/foundation/NSMutableArray.h"

namespace {

bool isStringOrAbsent(const NSDictionary& item, std::string_view key)
{
    auto value = item.objectForStringKey(key);
    return !value || objectCast<NSString>(value);
}

} // namespace

SpecifierPlistReader::Result SpecifierPlistReader::read(const Object* plist, id target, std::string_view listName)
{
    Result result;
    auto specifiers = NSMutableArray::array();
    result.specifiers = specifiers;
    std::string where = std::string(listName) + ".plist";
    if (!plist) {
        result.problems.push_back(where + ": not a readable property list");
        return result;
    }
    RefPtr<NSDictionary> root = objectCast<NSDictionary>(plist);
    if (!root) {
        result.problems.push_back(where + ": not a specifier list (the root is not a dictionary)");
        return result;
    }
    RefPtr<NSArray> items = objectCast<NSArray>(root->objectForStringKey("items"));
    if (!items) {
        result.problems.push_back(where + ": not a specifier list (no \"items\" array)");
        return result;
    }
    for (NSUInteger index = 0; index < items->count(); ++index) {
        std::string itemName = where + ": item " + std::to_string(index);
        RefPtr<NSDictionary> item = objectCast<NSDictionary>(items->objectAtIndex(index));
        if (!item) {
            result.problems.push_back(itemName + " is not a dictionary, skipped");
            continue;
        }
        RefPtr<NSString> cellName = objectCast<NSString>(item->objectForStringKey("cell"));
        if (!cellName) {
            result.problems.push_back(itemName + " has no \"cell\", skipped");
            continue;
        }
        auto cellType = PSSpecifier::cellTypeFromString(cellName->view());
        if (!cellType) {
            result.problems.push_back(itemName + " has the unknown cell type \"" + cellName->utf8() + "\", skipped");
            continue;
        }
        bool wrongShape = false;
        for (auto key : { "label", "detail", "action", "cellClass", "key", "defaults", "PostNotification", "id" }) {
            if (!isStringOrAbsent(*item, key)) {
                result.problems.push_back(itemName + " has a \"" + key + "\" that is not a string, skipped");
                wrongShape = true;
                break;
            }
        }
        if (wrongShape)
            continue;

        RefPtr<NSString> label = objectCast<NSString>(item->objectForStringKey("label"));
        Class detail = nullptr;
        if (RefPtr<NSString> detailName = objectCast<NSString>(item->objectForStringKey("detail"))) {
            detail = NSClassFromString(detailName->view());
            if (!detail)
                result.problems.push_back(itemName + " names the unknown controller class \"" + detailName->utf8() + "\"");
        }
        bool editsValue = *cellType != PSGroupCell && *cellType != PSButtonCell && *cellType != PSLinkCell;
        auto specifier = PSSpecifier::preferenceSpecifierNamed(label.get(), target,
            editsValue ? sel_registerName("setPreferenceValue:specifier:") : nullptr,
            editsValue ? sel_registerName("readPreferenceValue:") : nullptr,
            detail, *cellType, 0);
        for (auto& entry : *item) {
            if (RefPtr<NSString> key = objectCast<NSString>(entry.key))
                specifier->setProperty(entry.value.get(), key.get());
        }
        if (RefPtr<NSString> action = objectCast<NSString>(item->objectForStringKey("action")))
            specifier->setButtonAction(sel_registerName(action->UTF8String()));
        specifiers->addObject(specifier.get());
    }
    return result;
}
