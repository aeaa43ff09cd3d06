#include "platform/springboard/NCNotificationShortLookViewController.h"

#include "platform/graphics/UIImage.h"

#include <cctype>

namespace {

constexpr int headerIconFormat = 0;
constexpr double headerIconScale = 2.0;

} // namespace

Class NCNotificationShortLookViewController::classObject()
{
    static Class cls = ClassBuilder<NCNotificationShortLookViewController>("NCNotificationShortLookViewController", UIViewController::classObject())
                           .method<&NCNotificationShortLookViewController::initWithNotificationRequestImpl>("initWithNotificationRequest:")
                           .method<&NCNotificationShortLookViewController::notificationRequest>("notificationRequest")
                           .method<&NCNotificationShortLookViewController::setNotificationRequestImpl>("setNotificationRequest:")
                           .method<&NCNotificationShortLookViewController::loadViewImpl>("loadView")
                           .method<&NCNotificationShortLookViewController::viewDidLoadImpl>("viewDidLoad")
                           .method<&NCNotificationShortLookViewController::viewDidLayoutSubviewsImpl>("viewDidLayoutSubviews")
                           .method<&NCNotificationShortLookViewController::traitCollectionDidChangeImpl>("traitCollectionDidChange:")
                           .ivar<&NCNotificationShortLookViewController::m_lookView>("_lookView")
                           .ivar<&NCNotificationShortLookViewController::m_notificationRequest>("_notificationRequest")
                           .build();
    return cls;
}

RefPtr<NCNotificationShortLookViewController> NCNotificationShortLookViewController::createForRequest(NCNotificationRequest* request)
{
    auto object = class_createInstance(classObject());
    return msgSend<RefPtr<NCNotificationShortLookViewController>>(object, SELECTOR("initWithNotificationRequest:"), request);
}

Id NCNotificationShortLookViewController::initWithNotificationRequestImpl(RefPtr<NCNotificationRequest> request)
{
    Id self = msgSendSuper<Id>(this, classObject(), SELECTOR("init"));
    if (!self)
        return nullptr;
    m_notificationRequest = std::move(request);
    return self;
}

void NCNotificationShortLookViewController::loadViewImpl()
{
    m_lookView = UIView::create<NCNotificationShortLookView>();
    setView(m_lookView.get());
}

void NCNotificationShortLookViewController::viewDidLoadImpl()
{
    configureLookView();
}

void NCNotificationShortLookViewController::setNotificationRequestImpl(RefPtr<NCNotificationRequest> request)
{
    m_notificationRequest = std::move(request);
    if (!viewIfLoaded())
        return;
    configureLookView();
    // The platter must be laid out again even where its size stays, so what paints it runs.
    m_lookView->setNeedsLayout();
    m_lookView->headerContentView()->setNeedsLayout();
}

void NCNotificationShortLookViewController::configureLookView()
{
    if (!m_lookView)
        return;
    configureHeader(m_lookView->headerContentView().get(), m_notificationRequest.get());
    auto content = m_notificationRequest ? m_notificationRequest->content() : nullptr;
    auto texts = m_lookView->notificationContentView();
    texts->setPrimaryText(content ? content->title().get() : nullptr);
    texts->setSecondaryText(content ? content->message().get() : nullptr);
}

void NCNotificationShortLookViewController::viewDidLayoutSubviewsImpl() { }

void NCNotificationShortLookViewController::traitCollectionDidChangeImpl(UITraitCollection* previous)
{
    msgSendSuper<void>(this, classObject(), SELECTOR("traitCollectionDidChange:"), previous);
}

RefPtr<NSString> NCNotificationShortLookViewController::displayNameForSection(const NSString* sectionIdentifier)
{
    if (!sectionIdentifier)
        return nullptr;
    auto proxy = msgSendClass<Id>(objc_getClass("LSBundleProxy"), SELECTOR("bundleProxyForIdentifier:"), sectionIdentifier);
    auto name = proxy ? msgSend<RefPtr<NSString>>(proxy, SELECTOR("localizedName")) : nullptr;
    std::string text;
    if (name) {
        text = name->utf8();
    } else {
        auto identifier = sectionIdentifier->view();
        auto dot = identifier.rfind('.');
        text = std::string(dot == std::string_view::npos ? identifier : identifier.substr(dot + 1));
    }
    // The phone's headers are in capitals.
    for (char& c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return NSString::string(text);
}

void NCNotificationShortLookViewController::configureHeader(PLPlatterHeaderContentView* header, const NCNotificationRequest* request)
{
    if (!header || !request)
        return;
    auto section = request->sectionIdentifier();
    header->setTitle(displayNameForSection(section.get()).get());

    RefPtr<NSArray> icons;
    Class image = objc_getClass("UIImage");
    SEL iconSelector = SELECTOR("_applicationIconImageForBundleIdentifier:format:scale:");
    if (section && class_respondsToClassSelector(image, iconSelector)) {
        if (auto icon = msgSendClass<Id>(image, iconSelector, section, headerIconFormat, headerIconScale))
            icons = NSArray::arrayWithObjects({ icon });
    }
    header->setIcons(icons.get());
    header->setDate(request->timestamp().get());
}
