#pragma once

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

// The files of the preview page, compiled into the tool: nothing else is ever served as a
// file, so no request path reaches the disk.
class PreviewAssets {
public:
    struct Asset {
        std::string_view bytes;
        std::string_view contentType;
    };

    // "/" is the page itself; nullopt for every path that is not one of the files.
    static std::optional<Asset> find(std::string_view path);

private:
    // Path and bytes of each file; generated from tools/preview/web.
    static const std::vector<std::pair<std::string_view, std::string_view>>& table();
};
