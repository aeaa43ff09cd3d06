#include "platform/uikit/ViewSnapshot.h"

#include "platform/foundation/NSString.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UIUserInterfaceStyleArbiter.h"

#include <fstream>

nlohmann::json ViewSnapshot::capture(const UIView* root)
{
    nlohmann::json snapshot;
    snapshot["userInterfaceStyle"] = UIUserInterfaceStyleArbiter::sharedInstance()->currentStyle();
    snapshot["animations"] = { { "count", UIView::animationCount() }, { "lastDuration", UIView::lastAnimationDuration() } };
    snapshot["views"] = nlohmann::json::array();
    if (root)
        appendView(snapshot["views"], root, root, root->className());
    return snapshot;
}

void ViewSnapshot::appendView(nlohmann::json& views, const UIView* root, const UIView* view, const std::string& path)
{
    auto layer = view->layer();
    nlohmann::json entry {
        { "class", view->className() },
        { "path", path },
        { "frame", rectJSON(view->frame()) },
        { "windowFrame", rectJSON(view->convertRectToView(view->bounds(), root)) },
        { "hidden", view->isHidden() },
        { "alpha", view->alpha() },
        { "backgroundColor", colorJSON(view->backgroundColor().get()) },
        { "layer",
            { { "borderWidth", layer->borderWidth() },
                { "borderColor", colorJSON(layer->borderColor().get()) },
                { "cornerRadius", layer->cornerRadius() },
                { "masksToBounds", layer->masksToBounds() } } },
    };
    if (auto* label = objectCast<const UILabel>(view)) {
        entry["text"] = label->text() ? nlohmann::json(label->textString()) : nlohmann::json(nullptr);
        entry["textAlignment"] = label->textAlignment();
    }
    if (auto* scrollView = objectCast<const UIScrollView>(view)) {
        entry["contentOffset"] = { { "x", scrollView->contentOffset().x }, { "y", scrollView->contentOffset().y } };
        entry["contentSize"] = { { "width", scrollView->contentSize().width }, { "height", scrollView->contentSize().height } };
    }
    if (auto* imageView = objectCast<const UIImageView>(view)) {
        auto image = imageView->image();
        entry["image"] = image ? nlohmann::json { { "width", image->size().width }, { "height", image->size().height } } : nlohmann::json(nullptr);
    }
    // Views that stand for an app (companion extensions' app cells) say which, and whether chosen.
    if (RefPtr<NSString> identifier = objectCast<NSString>(msgSendIfResponds<Id>(view, SELECTOR("bundleIdentifier"))))
        entry["bundleIdentifier"] = identifier->utf8();
    Method isSelected = class_getInstanceMethod(view->isa(), SELECTOR("isSelected"));
    if (isSelected && std::string_view(method_getTypeEncoding(isSelected)).starts_with("B"))
        entry["selected"] = msgSend<bool>(view, SELECTOR("isSelected"));
    views.push_back(std::move(entry));

    const auto& subviews = view->subviewList();
    for (size_t index = 0; index < subviews.size(); ++index) {
        auto& child = subviews[index];
        appendView(views, root, child.get(), path + "/" + std::to_string(index) + ":" + child->className());
    }
}

nlohmann::json ViewSnapshot::colorJSON(const UIColor* color)
{
    if (!color)
        return nullptr;
    return {
        { "hex", color->hexString() },
        { "red", color->red() },
        { "green", color->green() },
        { "blue", color->blue() },
        { "alpha", color->alpha() },
    };
}

nlohmann::json ViewSnapshot::colorJSON(const CGColor* color)
{
    if (!color)
        return nullptr;
    return colorJSON(UIColor::colorWithCGColor(const_cast<CGColor*>(color)).get());
}

nlohmann::json ViewSnapshot::rectJSON(CGRect rect)
{
    return { { "x", rect.origin.x }, { "y", rect.origin.y }, { "width", rect.size.width }, { "height", rect.size.height } };
}

const nlohmann::json* ViewSnapshot::findPath(const nlohmann::json& snapshot, std::string_view path)
{
    auto views = snapshot.find("views");
    if (views == snapshot.end())
        return nullptr;
    for (auto& entry : *views) {
        if (entry.value("path", "") == path)
            return &entry;
    }
    return nullptr;
}

bool ViewSnapshot::writeToFile(const UIView* root, const std::filesystem::path& path)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out << capture(root).dump(2) << '\n';
    return static_cast<bool>(out);
}
