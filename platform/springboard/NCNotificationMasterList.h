#pragma once

#include "platform/foundation/NSArray.h"
#include "platform/runtime/WeakPtr.h"
#include "platform/springboard/NCNotificationRequest.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class NCNotificationStructuredListViewController;

// The home screen's store of notification requests. The dispatcher sends it
// insertNotificationRequest: and removeNotificationRequest: through the runtime; it keeps
// the requests in arrival order and has the structured list show or drop them. A request
// whose identifier is already stored replaces the stored one.
class NCNotificationMasterList : public Object {
    TW_OBJECT(NCNotificationMasterList)
public:
    static RefPtr<NCNotificationMasterList> create() { return make<NCNotificationMasterList>(); }

    void insertNotificationRequest(NCNotificationRequest* request) { msgSend<void>(this, SELECTOR("insertNotificationRequest:"), request); }
    void removeNotificationRequest(NCNotificationRequest* request) { msgSend<void>(this, SELECTOR("removeNotificationRequest:"), request); }

    RefPtr<NSArray> notificationRequests() const;
    const std::vector<RefPtr<NCNotificationRequest>>& requests() const { return m_requests; }
    unsigned long count() const { return m_requests.size(); }
    RefPtr<NCNotificationRequest> requestWithIdentifier(std::string_view identifier) const;

    // The list that shows the requests; held weakly.
    void setListViewController(NCNotificationStructuredListViewController*);

protected:
    NCNotificationMasterList() = default;

private:
    void insertNotificationRequestImpl(RefPtr<NCNotificationRequest> request);
    void removeNotificationRequestImpl(RefPtr<NCNotificationRequest> request);
    Id notificationRequestsImpl() const { return notificationRequests(); }

    std::vector<RefPtr<NCNotificationRequest>> m_requests;
    // Each arrival asks whether its identifier is stored; a scan would grow with the list.
    std::unordered_map<std::string, RefPtr<NCNotificationRequest>> m_requestsByIdentifier;
    WeakPtr<NCNotificationStructuredListViewController> m_listViewController;
};
