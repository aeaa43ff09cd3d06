#pragma once

#include "tweak/hooks/InstallationRow.h"

// Each hooked system class contributes its rows of the installation table.
namespace BBServerHooks { InstallationRows rows(); }
namespace NCNotificationListSectionRevealHintViewHooks { InstallationRows rows(); }
namespace NCNotificationListSectionHeaderViewHooks { InstallationRows rows(); }
namespace PLPlatterHeaderContentViewHooks { InstallationRows rows(); }
namespace NCNotificationShortLookViewControllerHooks { InstallationRows rows(); }
namespace NCNotificationStructuredListViewControllerHooks { InstallationRows rows(); }
namespace NCNotificationListViewHooks { InstallationRows rows(); }
namespace NCNotificationContentViewHooks { InstallationRows rows(); }
namespace NCNotificationLongLookViewHooks { InstallationRows rows(); }
namespace NCNotificationMasterListHooks { InstallationRows rows(); }
namespace NCNotificationListCellActionButtonsViewHooks { InstallationRows rows(); }
namespace MediaControlsHeaderViewHooks { InstallationRows rows(); }
namespace AXNAppCellHooks { InstallationRows rows(); }
namespace GRPAppCellHooks { InstallationRows rows(); }
namespace DaynContainerHooks { InstallationRows rows(); }
namespace UIViewHooks { InstallationRows rows(); }
namespace CALayerHooks { InstallationRows rows(); }
namespace NCNotificationListCellHooks { InstallationRows rows(); }
namespace UIUserInterfaceStyleArbiterHooks { InstallationRows rows(); }
