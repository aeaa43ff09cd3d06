#include "platform/settings/SpecifierPlistReader.h"

#include "platform/foundation/NSMutableArray.h"

namespace {

bool isStringOrAbsent(const NSDictionary& item, std::string_view key)
{
    auto value = item.objectForStringKey(key);
    return !value || objectAs<NSString>(value.get());
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
    auto root = objectAs<NSDictionary>(plist);
    if (!root) {
        result.problems.push_back(where + ": not a specifier list (the root is not a dictionary)");
        return result;
    }
    auto items = objectAs<NSArray>(root->objectForStringKey("items").get());
    if (!items) {
        result.problems.push_back(where + ": not a specifier list (no \"items\" array)");
        return result;
    }
    for (NSUInteger index = 0; index < items->count(); ++index) {
        std::string itemName = where + ": item " + std::to_string(index);
        auto item = objectAs<NSDictionary>(items->objectAtIndex(index).get());
        if (!item) {
            result.problems.push_back(itemName + " is not a dictionary, skipped");
            continue;
        }
        auto cellName = objectAs<NSString>(item->objectForStringKey("cell").get());
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

        auto label = objectAs<NSString>(item->objectForStringKey("label").get());
        Class detail = nullptr;
        if (auto detailName = objectAs<NSString>(item->objectForStringKey("detail").get())) {
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
            if (auto key = objectAs<NSString>(entry.key.get()))
                specifier->setProperty(entry.value.get(), key.get());
        }
        if (auto action = objectAs<NSString>(item->objectForStringKey("action").get()))
            specifier->setButtonAction(sel_registerName(action->UTF8String()));
        specifiers->addObject(specifier.get());
    }
    return result;
}
