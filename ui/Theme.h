// The colours and measures every screen window shares.
//
// Read-only fields take the theme's gray94 (locked text and list fields the tooltip
// background, see `readOnlyBackground`); highlighted list rows the light lavender of
// the row dividers. Sizes in the screens' declarations are twips: 15 twips make a pixel
// on the screens the suite was laid out for.
#pragma once

#include <QApplication>
#include <QColor>
#include <QPalette>
#include <string>

#include "framework/FormSettings.h"

namespace keltro::ui {

inline const QColor kReadOnlyBackground{0xf0, 0xf0, 0xf0};  // gray94
inline const QColor kEditableBackground{0xff, 0xff, 0xff};
inline const QColor kHighlight{220, 220, 255};
inline const QColor kTextNavy{0x00, 0x00, 0x80};

// Locked text, combo and rich-text fields take the system's tooltip background; other
// read-only fields gray94.
inline QColor readOnlyBackground(const std::string& control) {
    return framework::IsLockableControl(control) ? QApplication::palette().color(QPalette::ToolTipBase)
                                                 : kReadOnlyBackground;
}

// A stored colour number: red in the low byte, then green, then blue.
inline QColor colourOfNumber(long number) {
    return QColor(static_cast<int>(number & 0xff), static_cast<int>((number >> 8) & 0xff),
                  static_cast<int>((number >> 16) & 0xff));
}

inline constexpr int kTwipsPerPixel = 15;

inline int pixelsOfTwips(int twips) { return twips / kTwipsPerPixel; }
inline int twipsOfPixels(int pixels) { return pixels * kTwipsPerPixel; }

}  // namespace keltro::ui
