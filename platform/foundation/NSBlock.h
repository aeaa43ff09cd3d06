#pragma once

#include "platform/runtime/ClassBuilder.h"

#include <functional>

// A block as an object: platform calls that keep a block (animations, actions, timers)
// take it as id and call it through "invoke".
class NSBlock : public Object {
    TW_OBJECT(NSBlock)
public:
    static RefPtr<NSBlock> create(std::function<void()> body);

    void invoke() const { msgSend<void>(this, SELECTOR("invoke")); }
    void invokeImpl() const;

protected:
    NSBlock() = default;
    explicit NSBlock(std::function<void()> body)
        : m_body(std::move(body))
    {
    }

private:
    std::function<void()> m_body;
};
