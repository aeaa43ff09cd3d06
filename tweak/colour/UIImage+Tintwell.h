#pragma once

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSString.h"
#include "platform/graphics/UIColor.h"
#include "platform/graphics/UIImage.h"
#include "tweak/colour/IconSampler.h"

#include <array>

// The (Tintwell) category of UIImage: an image's palette and merged colour, an app's
// stock icon, and the colour a surface takes by colour mode. Each function is also
// registered on UIImage under its selector (registerUIImageTintwellMethods).

// -TWLcolors — the image's colours from a 10 × 10 premultiplied sample, most frequent
// first; equal counts keep the order in which the colours were first sampled (column by
// column, top to bottom). A colour within 60.0 of an earlier entry in red, green and blue
// is dropped. 1 to 100 colours; nil for a nil image.
RefPtr<NSArray> TWLcolors(const UIImage* image);
// The same palette from a sample grid already drawn (IconSampler), for callers that sample
// an icon without making an image of it.
RefPtr<NSArray> paletteFromGrid(const std::array<uint8_t, 400>& grid);
RefPtr<NSArray> paletteFromSamples(const IconSamples&);

// -mergedColor — the image shrunk to one premultiplied pixel, alpha 1 (transparent parts
// pull toward black; an image that draws nothing gives opaque black). Nil for a nil image.
RefPtr<UIColor> mergedColor(const UIImage* image);
// The same colour from the merge context's pixel (bytes B, G, R, A).
RefPtr<UIColor> mergedColorFromPixel(const std::array<uint8_t, 4>& pixel);
RefPtr<UIColor> mergedColorFromSamples(const IconSamples&);

// +stockImgForID: — the last primary icon file named by the app's record, loaded from its
// bundle; the generic "DefaultIcon-60" when there is no record or no loadable icon; nil
// only when the generic icon fails too. Nothing is cached.
RefPtr<UIImage> stockImgForID(const NSString* bundleID);
// The icon stockImgForID: answers, and whether it is the generic one because the app has no
// record or no loadable icon of its own.
struct StockIcon {
    RefPtr<UIImage> image;
    bool generic { false };
};
StockIcon stockIconForID(const NSString* bundleID);
// Only the app's own icon: nil where stockImgForID: falls back to the generic icon.
RefPtr<UIImage> appIconForID(const NSString* bundleID);

// -colorForMode:WithBundleID: — 0 merged colour; 1 the palette colour nearest to the stock
// icon's merged colour (the image's own when no bundle identifier is given or no stock icon
// is found); 2 the first opaque palette colour in the component-sum window, else the first
// opaque one, else nil; any other mode the first palette colour. Nil for a nil image.
RefPtr<UIColor> colorForModeWithBundleID(const UIImage* image, long mode, const NSString* bundleID);

// The same choice from an analysis already made, for callers that ask for several modes of
// one image: its palette and merged colour, and for mode 1 the stock icon's merged colour
// (nil to measure against the image's own).
RefPtr<UIColor> colorForModeFromAnalysis(const NSArray* palette, const UIColor* merged, long mode, const UIColor* stockMerged);

void registerUIImageTintwellMethods();
