// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>
#include <array>

#include "settings.h"

class QPushButton;
class QWidget;

namespace lvx {

// One command button as laid out at design: its object name, caption (with
// "&" before the access key), place in twips and face colour (invalid for
// the standard colour).
struct ButtonLayout {
  const char* name;
  const char* caption;
  QRect twips;
  QColor face;
  bool bold = false;
};

// The page window's buttons, in their tab order.
extern const std::array<ButtonLayout, 11> kPageButtons;

// The page window's grey button panel `Shape1`, in twips.
inline constexpr QRect kPanelTwips{5816, 0, 1095, 8055};

// The object names of the page window's buttons that start hidden (and
// disabled) for these settings: without a settings file the editor,
// companion and message buttons; "<" and ">" without folder browsing; the
// fax and PDF buttons unless the platform offers them.
QStringList HiddenPageButtons(const ViewerSettings& settings);

// The standard 8.25-point "MS Sans Serif" of buttons; where that family is
// absent the desktop's sans face stands in, under the same requested name.
QFont ButtonFont(bool bold = false);

// The caption broken into lines at its blanks where it is wider than
// `width` pixels in `font`, as buttons wrap their captions.
QString WrappedCaption(const QString& caption, const QFont& font, int width);

// Makes the button of `layout` on `parent`: object name, caption, place,
// font, face colour; a caption wider than the button wraps. Its pointer is the arrow, and mouse
// events on it never reach the window surface below.
QPushButton* MakeButton(const ButtonLayout& layout, QWidget* parent);

}  // namespace lvx
