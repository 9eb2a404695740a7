// The colours and measures every screen window shares.
//
// Read-only fields take the theme's gray94; highlighted list rows the light lavender of
// the row dividers. Sizes in the screens' declarations are twips: 15 twips make a pixel
// on the screens the suite was laid out for.
#pragma once

#include <QColor>

namespace keltro::ui {

inline const QColor kReadOnlyBackground{0xf0, 0xf0, 0xf0};  // gray94
inline const QColor kEditableBackground{0xff, 0xff, 0xff};
inline const QColor kHighlight{220, 220, 255};
inline const QColor kTextNavy{0x00, 0x00, 0x80};

// A stored colour number: red in the low byte, then green, then blue.
inline QColor colourOfNumber(long number) {
    return QColor(static_cast<int>(number & 0xff), static_cast<int>((number >> 8) & 0xff),
                  static_cast<int>((number >> 16) & 0xff));
}

inline constexpr int kTwipsPerPixel = 15;

inline int pixelsOfTwips(int twips) { return twips / kTwipsPerPixel; }
inline int twipsOfPixels(int pixels) { return pixels * kTwipsPerPixel; }

}  // namespace keltro::ui
