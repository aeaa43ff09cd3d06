#include "platform/uikit/UIKitClasses.h"

#include "platform/uikit/CALayer.h"
#include "platform/uikit/NSIndexPath.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIResponder.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UISegmentedControl.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UISwitch.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITextField.h"
#include "platform/uikit/UIStackView.h"
#include "platform/uikit/UITraitCollection.h"
#include "platform/uikit/UIUserInterfaceStyleArbiter.h"
#include "platform/uikit/UIView+UIConstraintBasedLayout.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/UIViewController+UIPresentation.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIWindow.h"

void registerUIKitClasses()
{
    UIResponder::classObject();
    UITraitCollection::classObject();
    UIUserInterfaceStyleArbiter::classObject();
    CALayer::classObject();
    UIView::classObject();
    UIWindow::classObject();
    UIViewController::classObject();
    UINavigationItem::classObject();
    UIFont::classObject();
    UILabel::classObject();
    UIImageView::classObject();
    UIButton::classObject();
    UIStackView::classObject();
    UIScrollView::classObject();
    // The settings pages' controls, navigation, alerts and layout anchors.
    NSIndexPath::classObject();
    UIControl::classObject();
    UISwitch::classObject();
    UISlider::classObject();
    UISegmentedControl::classObject();
    UITextField::classObject();
    UITableViewCell::classObject();
    UITableView::classObject();
    UIBarButtonItem::classObject();
    UINavigationBar::classObject();
    UINavigationController::classObject();
    UIAlertAction::classObject();
    UIAlertController::classObject();
    UIViewConstraintBasedLayout::install();
    UIViewControllerPresentation::install();
}
