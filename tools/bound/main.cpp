#include "outside/cephei/HBPreferences.h"
#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"
#include "tools/common/ScalarJSON.h"
#include "tools/common/ToolCommandLine.h"
#include "tweak/settings/SettingsStore.h"

#include <CLI/CLI.hpp>
#include <iomanip>
#include <iostream>
#include <nlohmann/json.hpp>

namespace {

constexpr const char* explanation = R"(
For each of the ninety settings Tintwell binds from "com.quillfen.tintwellprefs", in the
order it binds them:
  stored   the value in the device's preference file, null when absent
  default  what the extension binds while the key is absent
  bound    what the extension binds, after the conversions of its preferences library:
           a real truncates toward zero, a text such as "yes" or "12" reads as what it
           starts with, a value of the wrong kind for a text setting leaves the default
Exit status: 0 printed (also when the file is missing: every setting shows its default);
2 bad usage.)";

struct Setting {
    std::string key;
    std::string kind;
    nlohmann::ordered_json stored;
    nlohmann::ordered_json defaultValue;
    nlohmann::ordered_json bound;
};

nlohmann::ordered_json jsonOf(const Object* value)
{
    auto json = scalarJSON<nlohmann::ordered_json>(value);
    // Dates, data, arrays, dictionaries: shown by kind, the binding reads them as nothing.
    if (value && json.is_null())
        return std::string("(") + value->className() + ")";
    return json;
}

std::vector<Setting> boundSettings(const NSDictionary* stored)
{
    auto preferences = HBPreferences::preferencesForIdentifier(NSString::string(SettingsStore::domain).get());
    std::vector<Setting> settings;
    for (auto& key : SettingsStore::keys()) {
        SettingsStore::registerKey(*preferences, key);
        Setting setting { key.key, {}, jsonOf(stored ? stored->objectForStringKey(key.key).get() : nullptr), {}, {} };
        std::visit([&](auto& binding) {
            using Binding = std::decay_t<decltype(binding)>;
            if constexpr (std::is_same_v<Binding, SettingKey::Bool>)
                setting.kind = "switch";
            else if constexpr (std::is_same_v<Binding, SettingKey::Integer>)
                setting.kind = "integer";
            else
                setting.kind = "text";
            setting.defaultValue = binding.defaultValue;
            if constexpr (std::is_same_v<Binding, SettingKey::Object>)
                setting.bound = *binding.global ? nlohmann::ordered_json((*binding.global)->utf8()) : nlohmann::ordered_json(nullptr);
            else
                setting.bound = *binding.global;
        },
            key.binding);
        settings.push_back(std::move(setting));
    }
    return settings;
}

std::string cellText(const nlohmann::ordered_json& value)
{
    if (value.is_null())
        return "-";
    if (value.is_boolean())
        return value.get<bool>() ? "on" : "off";
    if (value.is_string())
        return "\"" + value.get<std::string>() + "\"";
    return value.dump();
}

void printTable(const std::vector<Setting>& settings)
{
    const std::vector<std::string> headers { "KEY", "KIND", "STORED", "DEFAULT", "BOUND" };
    std::vector<std::vector<std::string>> rows;
    for (auto& setting : settings)
        rows.push_back({ setting.key, setting.kind, cellText(setting.stored), cellText(setting.defaultValue), cellText(setting.bound) });
    std::vector<size_t> widths(headers.size());
    for (size_t column = 0; column < headers.size(); ++column) {
        widths[column] = headers[column].size();
        for (auto& row : rows)
            widths[column] = std::max(widths[column], row[column].size());
    }
    auto printRow = [&](const std::vector<std::string>& row) {
        for (size_t column = 0; column < row.size(); ++column) {
            bool last = column + 1 == row.size();
            std::cout << (last ? row[column] : row[column] + std::string(widths[column] - row[column].size() + 2, ' '));
        }
        std::cout << '\n';
    };
    printRow(headers);
    for (auto& row : rows)
        printRow(row);
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app { "Prints the ninety settings Tintwell binds on a device root: stored value, default and what the extension binds." };
    app.footer(explanation);
    ToolCommandLine commandLine(app, "tintwell-bound-settings");
    std::string root;
    bool json = false;
    app.add_option("--root", root, "Device root folder, the phone's \"/\"")->required()->check(CLI::ExistingDirectory);
    app.add_flag("--json", json, "Print a JSON array of {key, kind, stored, default, bound} instead of the table");
    if (auto status = commandLine.parse(argc, argv))
        return *status;

    DeviceRoot::set(root);
    const std::string path = "/var/mobile/Library/Preferences/" + std::string(SettingsStore::domain) + ".plist";
    RefPtr<NSDictionary> stored;
    if (auto file = DeviceRoot::resolve(path); file && std::filesystem::exists(*file)) {
        stored = objectCast<NSDictionary>(PropertyList::readFile(path));
        if (!stored)
            std::cerr << "tintwell-bound-settings: warning: " << path << " cannot be read; the extension binds every default\n";
    }
    auto settings = boundSettings(stored.get());
    if (!json) {
        printTable(settings);
        return 0;
    }
    auto list = nlohmann::ordered_json::array();
    for (auto& setting : settings)
        list.push_back({ { "key", setting.key }, { "kind", setting.kind }, { "stored", setting.stored }, { "default", setting.defaultValue }, { "bound", setting.bound } });
    std::cout << list.dump(2) << '\n';
    return 0;
}
