#include "tools/preview/PreviewAssets.h"

namespace {

std::string_view contentTypeOf(std::string_view path)
{
    if (path.ends_with(".html"))
        return "text/html; charset=utf-8";
    if (path.ends_with(".css"))
        return "text/css; charset=utf-8";
    if (path.ends_with(".js"))
        return "text/javascript; charset=utf-8";
    if (path.ends_with(".png"))
        return "image/png";
    return "application/octet-stream";
}

} // namespace

std::optional<PreviewAssets::Asset> PreviewAssets::find(std::string_view path)
{
    if (path == "/")
        path = "/index.html";
    for (auto& [name, bytes] : table()) {
        if (name == path)
            return Asset { bytes, contentTypeOf(name) };
    }
    return std::nullopt;
}
