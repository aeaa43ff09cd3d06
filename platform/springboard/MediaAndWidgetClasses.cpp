#include "platform/springboard/MediaAndWidgetClasses.h"

#include "platform/springboard/SBMediaController.h"
#include "platform/springboard/WGWidgetListViewController.h"

void registerMediaAndWidgetClasses()
{
    WGWidgetInfo::classObject();
    WGWidgetHostingViewController::classObject();
    WGPlatterHeaderContentView::classObject();
    WGWidgetPlatterView::classObject();
    WGWidgetListViewController::classObject();
    MediaControlsHeaderView::classObject();
    MediaControlsPanelViewController::classObject();
    SBMediaController::classObject();
}
