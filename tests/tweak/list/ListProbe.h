#pragma once

// Watches the list from outside the extension: wrappers installed over Tintwell's
// replacements note which system method is running when "Tintwell-updateHeaderColor" is
// posted, and which recolourings run on their own (delayed) rather than inside a post or
// a layout pass. Every wrapper calls through.

#include "TweakedHomeScreen.h"

#include "platform/runtime/Substrate.h"

#include <map>
#include <string>
#include <vector>

namespace tweaktest {

struct ListProbe {
    std::vector<std::string> running;
    // Poster (innermost watched method) → posts.
    std::map<std::string, int> posts;
    int postsTotal { 0 };
    int delayedHeaderRecolours { 0 };
    int delayedToggleRecolours { 0 };

    void reset()
    {
        posts.clear();
        postsTotal = 0;
        delayedHeaderRecolours = 0;
        delayedToggleRecolours = 0;
    }
    bool isRunning(const std::string& name) const { return std::find(running.begin(), running.end(), name) != running.end(); }
    int postsBy(const std::string& poster) const
    {
        auto found = posts.find(poster);
        return found == posts.end() ? 0 : found->second;
    }

    static ListProbe& shared()
    {
        static auto* probe = new ListProbe;
        return *probe;
    }
};

namespace probe {

struct Running {
    explicit Running(const char* name) { ListProbe::shared().running.push_back(name); }
    ~Running() { ListProbe::shared().running.pop_back(); }
};

template<int Tag, typename... Args>
struct Frame {
    static inline const char* name;
    static inline void (*previous)(id, SEL, Args...);
    static void call(id self, SEL sel, Args... args)
    {
        Running running(name);
        previous(self, sel, args...);
    }
    static void install(const char* className, const char* selector)
    {
        name = selector;
        MSHookMessageEx(objc_getClass(className), sel_registerName(selector), &call, &previous);
    }
};

inline void (*previousPost)(id, SEL, id, id);
inline void post(id self, SEL sel, id name, id object)
{
    auto* text = objectCast<NSString>(name);
    auto& watched = ListProbe::shared();
    if (text && text->view() == "Tintwell-updateHeaderColor") {
        ++watched.postsTotal;
        ++watched.posts[watched.running.empty() ? std::string("(nothing watched)") : watched.running.back()];
    }
    Running running("post");
    previousPost(self, sel, name, object);
}

inline void (*previousUpdateHeaderColor)(id, SEL, id);
inline void updateHeaderColor(id self, SEL sel, id notification)
{
    if (!ListProbe::shared().isRunning("post"))
        ++ListProbe::shared().delayedHeaderRecolours;
    previousUpdateHeaderColor(self, sel, notification);
}

inline void (*previousSetHeaderColor)(id, SEL);
inline void setHeaderColor(id self, SEL sel)
{
    if (!ListProbe::shared().isRunning("layoutSubviews"))
        ++ListProbe::shared().delayedToggleRecolours;
    previousSetHeaderColor(self, sel);
}

} // namespace probe

// Call once the extension is loaded, so the wrappers sit over its replacements.
inline ListProbe& installListProbe()
{
    using namespace probe;
    Frame<0, id>::install("NCNotificationMasterList", "insertNotificationRequest:");
    Frame<1, id>::install("NCNotificationMasterList", "removeNotificationRequest:");
    Frame<2, unsigned long, bool>::install("NCNotificationListView", "insertViewAtIndex:animated:");
    Frame<3, unsigned long, bool>::install("NCNotificationListView", "removeViewAtIndex:animated:");
    Frame<4>::install("NCNotificationListView", "layoutSubviews");
    Frame<5, bool, bool>::install("NCNotificationStructuredListViewController", "revealNotificationHistory:animated:");
    Frame<6>::install("NCNotificationListSectionHeaderView", "_layoutClearButton");
    MSHookMessageEx(objc_getClass("NSNotificationCenter"), sel_registerName("postNotificationName:object:"), &post, &previousPost);
    MSHookMessageEx(objc_getClass("NCNotificationListSectionHeaderView"), sel_registerName("updateHeaderColor:"), &updateHeaderColor, &previousUpdateHeaderColor);
    MSHookMessageEx(objc_getClass("NCNotificationListView"), sel_registerName("TWLsetHeaderColor"), &setHeaderColor, &previousSetHeaderColor);
    return ListProbe::shared();
}

} // namespace tweaktest
