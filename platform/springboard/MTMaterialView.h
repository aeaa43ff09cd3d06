#pragma once

#include "platform/uikit/UIView.h"

// The translucent material behind platters, buttons and controls. Its tint follows the
// light/dark style it is shown with: a style change (traitCollectionDidChange:) puts the
// system's material colour back, as the phone's material does. A view joining the screen (a
// reused cell coming back, say) takes its colour at once; a switch between light and dark
// reloads the material on the main run loop's next turn, after the switch's own layout
// pass, so whatever was painted on it during that pass is gone until someone paints again.
class MTMaterialView : public UIView {
    TW_OBJECT(MTMaterialView)
public:
    enum Recipe : long {
        RecipePlatter = 1,
        RecipeControl = 2,
    };

    static RefPtr<MTMaterialView> create(Recipe recipe, CGRect frame = CGRectZero);

    long recipe() const { return m_recipe; }
    // The system's colour of a recipe in a style.
    static RefPtr<UIColor> materialColor(long recipe, long userInterfaceStyle);

protected:
    MTMaterialView() = default;

private:
    Id initWithFrameImpl(CGRect frame);
    void traitCollectionDidChangeImpl(UITraitCollection* previous);
    void applyMaterial();

    long m_recipe { RecipePlatter };
};
