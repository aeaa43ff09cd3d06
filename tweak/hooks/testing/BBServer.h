#pragma once

#include "platform/runtime/Object.h"

namespace BBServerHooks {

// The most recently initialised bulletin server, or nil. Safe from any thread.
RefPtr<Object> capturedServer();

} // namespace BBServerHooks
