#pragma once

#include "outside/cephei/HBListController.h"

// Cephei's root page of a settings bundle; a list page like any other here.
class HBRootListController : public HBListController {
    TW_OBJECT(HBRootListController)
protected:
    HBRootListController() = default;
};
