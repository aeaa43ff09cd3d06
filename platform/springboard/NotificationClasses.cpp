#include "platform/springboard/NotificationClasses.h"

#include "platform/springboard/BBServer.h"
#include "platform/springboard/MTMaterialView.h"
#include "platform/springboard/NCNotificationListCoalescingControlsCell.h"
#include "platform/springboard/NCNotificationListCoalescingHeaderCell.h"
#include "platform/springboard/NCNotificationLongLookViewController.h"
#include "platform/springboard/NCNotificationMasterList.h"
#include "platform/springboard/NCNotificationStructuredListViewController.h"
#include "platform/springboard/SBLockScreenManager.h"
#include "platform/uikit/UIKitClasses.h"

void registerNotificationClasses()
{
    registerUIKitClasses();
    BBAction::classObject();
    BBBulletin::classObject();
    BBServer::classObject();
    SBLockScreenManager::classObject();
    NCNotificationContent::classObject();
    NCNotificationRequest::classObject();
    NCNotificationMasterList::classObject();
    MTMaterialView::classObject();
    SBUILegibilityLabel::classObject();
    PLPlatterHeaderContentView::classObject();
    NCNotificationContentView::classObject();
    NCNotificationShortLookView::classObject();
    NCNotificationShortLookViewController::classObject();
    NCNotificationLongLookView::classObject();
    NCNotificationLongLookViewController::classObject();
    NCToggleControl::classObject();
    NCToggleControlPair::classObject();
    NCNotificationListCoalescingControlsView::classObject();
    NCNotificationListCoalescingHeaderCell::classObject();
    NCNotificationListCoalescingControlsCell::classObject();
    NCNotificationListCellActionButton::classObject();
    NCNotificationListCellActionButtonsView::classObject();
    NCNotificationListCell::classObject();
    NCNotificationListView::classObject();
    NCNotificationListSectionHeaderView::classObject();
    NCNotificationListSectionRevealHintView::classObject();
    NCNotificationStructuredListViewController::classObject();
}
