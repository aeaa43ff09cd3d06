#include "platform/uikit/UIAlertController.h"

#include "platform/foundation/NSArray.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIViewController+UIPresentation.h"

#include <algorithm>

namespace {

constexpr double boxWidth = 270;
constexpr double titleHeight = 44;
constexpr double messageHeight = 40;
constexpr double buttonHeight = 44;

} // namespace

Class UIAlertController::classObject()
{
    static Class cls = ClassBuilder<UIAlertController>("UIAlertController", UIViewController::classObject())
                           .classMethod<&UIAlertController::alertControllerImpl>("alertControllerWithTitle:message:preferredStyle:")
                           .method<&UIAlertController::messageImpl>("message")
                           .method<&UIAlertController::setMessageImpl>("setMessage:")
                           .method<&UIAlertController::preferredStyle>("preferredStyle")
                           .method<&UIAlertController::actionsImpl>("actions")
                           .method<&UIAlertController::addActionImpl>("addAction:")
                           .method<&UIAlertController::loadViewImpl>("loadView")
                           .method<&UIAlertController::viewDidLayoutSubviewsImpl>("viewDidLayoutSubviews")
                           .build();
    UIViewControllerPresentation::install();
    return cls;
}

UIAlertController::UIAlertController() = default;
UIAlertController::~UIAlertController() = default;

RefPtr<UIAlertController> UIAlertController::alertControllerWithTitle(NSString* title, NSString* message, long preferredStyle)
{
    auto alert = UIViewController::create<UIAlertController>();
    if (!alert)
        return nullptr;
    alert->setTitle(title);
    alert->m_message = message;
    alert->m_preferredStyle = preferredStyle;
    return alert;
}

RefPtr<NSArray> UIAlertController::actions() const
{
    return NSArray::arrayWithObjects(std::vector<Id>(m_actions.begin(), m_actions.end()));
}

void UIAlertController::addActionImpl(RefPtr<UIAlertAction> action)
{
    if (!action)
        return;
    m_actions.push_back(std::move(action));
}

RefPtr<UIAlertAction> UIAlertController::actionWithTitle(std::string_view title) const
{
    for (auto& action : m_actions) {
        if (action->isEnabled() && action->title() && action->title()->view() == title)
            return action;
    }
    return nullptr;
}

bool UIAlertController::chooseAction(UIAlertAction* action)
{
    if (!action || !action->isEnabled() || std::find(m_actions.begin(), m_actions.end(), RefPtr<UIAlertAction>(action)) == m_actions.end())
        return false;
    RefPtr<UIAlertController> protect(this);
    RefPtr<UIAlertAction> chosen(action);
    msgSend<void>(this, SELECTOR("dismissViewControllerAnimated:completion:"), true, nullptr);
    msgSendIfResponds<void>(chosen->handler().get(), SELECTOR("invoke"));
    return true;
}

void UIAlertController::loadViewImpl()
{
    auto view = UIView::create(CGRectMake(0, 0, 375, 667));
    view->setBackgroundColor(UIColor::colorWithWhite(0, 0.4).get());
    m_box = UIView::create();
    m_box->setBackgroundColor(UIColor::colorWithWhite(0.97, 1).get());
    m_box->layer()->setCornerRadius(13);
    m_box->setClipsToBounds(true);
    view->addSubview(m_box.get());

    auto titleLabel = UILabel::create(CGRectMake(16, 8, boxWidth - 32, titleHeight - 8));
    titleLabel->setText(title().get());
    titleLabel->setFont(UIFont::systemFontOfSize(17, UIFontWeightSemibold).get());
    titleLabel->setTextAlignment(NSTextAlignmentCenter);
    m_box->addSubview(titleLabel.get());
    auto messageLabel = UILabel::create(CGRectMake(16, titleHeight, boxWidth - 32, messageHeight));
    messageLabel->setText(m_message.get());
    messageLabel->setFont(UIFont::systemFontOfSize(13).get());
    messageLabel->setNumberOfLines(0);
    messageLabel->setTextAlignment(NSTextAlignmentCenter);
    m_box->addSubview(messageLabel.get());

    double y = titleHeight + messageHeight + 8;
    // Two buttons sit side by side, more stack up, as the phone lays them out.
    bool sideBySide = m_actions.size() == 2;
    for (size_t index = 0; index < m_actions.size(); ++index) {
        auto& action = m_actions[index];
        CGRect frame = sideBySide ? CGRectMake(boxWidth / 2 * double(index), y, boxWidth / 2, buttonHeight)
                                  : CGRectMake(0, y + buttonHeight * double(index), boxWidth, buttonHeight);
        auto button = UILabel::create(frame);
        button->setText(action->title().get());
        button->setTextAlignment(NSTextAlignmentCenter);
        button->setTextColor(action->style() == UIAlertActionStyleDestructive ? UIColor::colorWithRed(1, 0.23, 0.19, 1).get()
                                                                               : UIColor::colorWithRed(0, 0.48, 1, 1).get());
        if (action->style() == UIAlertActionStyleCancel)
            button->setFont(UIFont::systemFontOfSize(17, UIFontWeightSemibold).get());
        auto line = UIView::create(CGRectMake(frame.origin.x, frame.origin.y, frame.size.width, 0.5));
        line->setBackgroundColor(UIColor::colorWithWhite(0, 0.2).get());
        m_box->addSubview(button.get());
        m_box->addSubview(line.get());
    }
    double height = y + (sideBySide ? buttonHeight : buttonHeight * double(m_actions.size()));
    m_box->setFrame(CGRectMake(0, 0, boxWidth, height));
    setView(view.get());
}

void UIAlertController::viewDidLayoutSubviewsImpl()
{
    auto view = viewIfLoaded();
    if (!view || !m_box)
        return;
    if (auto superview = view->superview())
        view->setFrame(superview->bounds());
    CGSize size = view->bounds().size;
    CGSize box = m_box->frame().size;
    m_box->setFrame(CGRectMake((size.width - box.width) / 2, (size.height - box.height) / 2, box.width, box.height));
}
