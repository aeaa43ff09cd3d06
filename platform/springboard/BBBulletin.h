#pragma once

#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSString.h"
#include "platform/springboard/BBAction.h"

// One notification as the bulletin board carries it, made with alloc/init and filled with
// its setters. Registered, each with its setter ("setTitle:" ...): title, subtitle,
// message, sectionID, bulletinID, recordID, publisherBulletinID, date, defaultAction,
// clearable, showsMessagePreview, publicationDate, lastInterruptDate.
class BBBulletin : public Object {
    TW_OBJECT(BBBulletin)
public:
    static RefPtr<BBBulletin> create() { return make<BBBulletin>(); }

    RefPtr<NSString> title() const { return m_title; }
    void setTitle(NSString* value) { msgSend<void>(this, SELECTOR("setTitle:"), value); }
    RefPtr<NSString> subtitle() const { return m_subtitle; }
    void setSubtitle(NSString* value) { msgSend<void>(this, SELECTOR("setSubtitle:"), value); }
    RefPtr<NSString> message() const { return m_message; }
    void setMessage(NSString* value) { msgSend<void>(this, SELECTOR("setMessage:"), value); }
    RefPtr<NSString> sectionID() const { return m_sectionID; }
    void setSectionID(NSString* value) { msgSend<void>(this, SELECTOR("setSectionID:"), value); }
    RefPtr<NSString> bulletinID() const { return m_bulletinID; }
    void setBulletinID(NSString* value) { msgSend<void>(this, SELECTOR("setBulletinID:"), value); }
    RefPtr<NSString> recordID() const { return m_recordID; }
    void setRecordID(NSString* value) { msgSend<void>(this, SELECTOR("setRecordID:"), value); }
    RefPtr<NSString> publisherBulletinID() const { return m_publisherBulletinID; }
    void setPublisherBulletinID(NSString* value) { msgSend<void>(this, SELECTOR("setPublisherBulletinID:"), value); }
    RefPtr<NSDate> date() const { return m_date; }
    void setDate(NSDate* value) { msgSend<void>(this, SELECTOR("setDate:"), value); }
    RefPtr<BBAction> defaultAction() const { return m_defaultAction; }
    void setDefaultAction(BBAction* value) { msgSend<void>(this, SELECTOR("setDefaultAction:"), value); }
    bool clearable() const { return m_clearable; }
    void setClearable(bool value) { msgSend<void>(this, SELECTOR("setClearable:"), value); }
    bool showsMessagePreview() const { return m_showsMessagePreview; }
    void setShowsMessagePreview(bool value) { msgSend<void>(this, SELECTOR("setShowsMessagePreview:"), value); }
    RefPtr<NSDate> publicationDate() const { return m_publicationDate; }
    void setPublicationDate(NSDate* value) { msgSend<void>(this, SELECTOR("setPublicationDate:"), value); }
    RefPtr<NSDate> lastInterruptDate() const { return m_lastInterruptDate; }
    void setLastInterruptDate(NSDate* value) { msgSend<void>(this, SELECTOR("setLastInterruptDate:"), value); }

protected:
    BBBulletin() = default;

private:
    Id initImpl() { return Id(this); }
    void setTitleImpl(RefPtr<NSString> value) { m_title = std::move(value); }
    void setSubtitleImpl(RefPtr<NSString> value) { m_subtitle = std::move(value); }
    void setMessageImpl(RefPtr<NSString> value) { m_message = std::move(value); }
    void setSectionIDImpl(RefPtr<NSString> value) { m_sectionID = std::move(value); }
    void setBulletinIDImpl(RefPtr<NSString> value) { m_bulletinID = std::move(value); }
    void setRecordIDImpl(RefPtr<NSString> value) { m_recordID = std::move(value); }
    void setPublisherBulletinIDImpl(RefPtr<NSString> value) { m_publisherBulletinID = std::move(value); }
    void setDateImpl(RefPtr<NSDate> value) { m_date = std::move(value); }
    void setDefaultActionImpl(RefPtr<BBAction> value) { m_defaultAction = std::move(value); }
    void setClearableImpl(bool value) { m_clearable = value; }
    void setShowsMessagePreviewImpl(bool value) { m_showsMessagePreview = value; }
    void setPublicationDateImpl(RefPtr<NSDate> value) { m_publicationDate = std::move(value); }
    void setLastInterruptDateImpl(RefPtr<NSDate> value) { m_lastInterruptDate = std::move(value); }

    RefPtr<NSString> m_title;
    RefPtr<NSString> m_subtitle;
    RefPtr<NSString> m_message;
    RefPtr<NSString> m_sectionID;
    RefPtr<NSString> m_bulletinID;
    RefPtr<NSString> m_recordID;
    RefPtr<NSString> m_publisherBulletinID;
    RefPtr<NSDate> m_date;
    RefPtr<BBAction> m_defaultAction;
    bool m_clearable { false };
    bool m_showsMessagePreview { true };
    RefPtr<NSDate> m_publicationDate;
    RefPtr<NSDate> m_lastInterruptDate;
};
