#pragma once

#include "platform/foundation/NSObjCRuntime.h"

#include <string>
#include <string_view>

class NSString;

// A file address; only file URLs are needed on the platform.
class NSURL : public Object {
    TW_OBJECT(NSURL)
public:
    static RefPtr<NSURL> fileURLWithPath(std::string_view devicePath);
    // "file:///path" only; anything else answers nil.
    static RefPtr<NSURL> URLWithString(std::string_view text);

    // The device path.
    RefPtr<NSString> path() const;
    const std::string& pathString() const { return m_path; }
    std::string absoluteString() const { return "file://" + m_path; }
    bool isFileURL() const { return true; }
    RefPtr<NSURL> URLByAppendingPathComponent(std::string_view component) const;

    bool isEqual(const Object* other) const;
    NSUInteger hash() const;

protected:
    NSURL() = default;
    explicit NSURL(std::string path)
        : m_path(std::move(path))
    {
    }

private:
    bool isEqualImpl(Object* other) const { return isEqual(other); }

    std::string m_path;
};
