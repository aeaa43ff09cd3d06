#include "platform/springboard/NCNotificationMasterList.h"

#include "platform/springboard/NCNotificationStructuredListViewController.h"

#include <algorithm>

Class NCNotificationMasterList::classObject()
{
    static Class cls = ClassBuilder<NCNotificationMasterList>("NCNotificationMasterList", Object::classObject())
                           .method<&NCNotificationMasterList::insertNotificationRequestImpl>("insertNotificationRequest:")
                           .method<&NCNotificationMasterList::removeNotificationRequestImpl>("removeNotificationRequest:")
                           .method<&NCNotificationMasterList::notificationRequestsImpl>("notificationRequests")
                           .method<&NCNotificationMasterList::count>("count")
                           .build();
    return cls;
}

RefPtr<NSArray> NCNotificationMasterList::notificationRequests() const
{
    return NSArray::arrayWithObjects(std::vector<Id>(m_requests.begin(), m_requests.end()));
}

RefPtr<NCNotificationRequest> NCNotificationMasterList::requestWithIdentifier(std::string_view identifier) const
{
    auto found = m_requestsByIdentifier.find(std::string(identifier));
    return found == m_requestsByIdentifier.end() ? nullptr : found->second;
}

void NCNotificationMasterList::setListViewController(NCNotificationStructuredListViewController* controller)
{
    m_listViewController = controller;
}

void NCNotificationMasterList::insertNotificationRequestImpl(RefPtr<NCNotificationRequest> request)
{
    // Without a section the list has no app to file it under.
    if (!request || request->sectionID().empty())
        return;
    if (auto stored = requestWithIdentifier(request->identifier()))
        removeNotificationRequest(stored.get());
    m_requests.push_back(request);
    m_requestsByIdentifier[std::string(request->identifier())] = request;
    if (auto list = m_listViewController.get())
        list->insertNotificationRequest(request.get());
}

void NCNotificationMasterList::removeNotificationRequestImpl(RefPtr<NCNotificationRequest> request)
{
    if (!request)
        return;
    // The caller may hold another request object with the same identifier.
    auto stored = requestWithIdentifier(request->identifier());
    if (!stored)
        return;
    m_requestsByIdentifier.erase(std::string(stored->identifier()));
    // From the newest end: recent notifications are the ones most often taken away.
    if (auto newest = std::find(m_requests.rbegin(), m_requests.rend(), stored); newest != m_requests.rend())
        m_requests.erase(std::next(newest).base());
    if (auto list = m_listViewController.get())
        list->removeNotificationRequest(stored.get());
}
