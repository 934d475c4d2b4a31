// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPointF>
#include <functional>
#include <optional>

#include "drawn_area.h"
#include "font_families.h"
#include "page_view.h"
#include "shaped_text.h"
#include "view_scale.h"

class QPainter;
class QPaintDevice;

namespace lvx {

// The PageView of the screen and the printer: draws on a QPainter, with the
// view's units mapped onto the device by a ViewScale. Boxes and pictures
// follow the mapping; font sizes are points on the device whatever the
// mapping, so text keeps its shape in a stretched view. The background is
// white. Before the first font call text is drawn in kDefaultFamily at
// kDefaultPoints points, upright, black, on an opaque background.
//
// Font names are taken when fontconfig has the family or a metric-compatible
// face for it (see FontFamilies); an empty name selects the default face.
// Sizes outside 1 to 2160 points fail. A failing setter leaves the previous
// setting in force. Pictures are drawn when they come from this library's
// loader (DrawablePicture); others are skipped. Nothing here throws.
class PainterPageView : public PageView {
 public:
  static constexpr const char* kDefaultFamily = "Arial";
  static constexpr double kDefaultPoints = 8.0;

  // Draws through `painter`, which the caller keeps active for as long as
  // the view is used (a printer's painter for a whole job). Each operation
  // sets the painter's transform and restores the painter's state after.
  PainterPageView(QPainter& painter, ViewScale scale);
  // Opens a painter of its own on `device` for each operation, so that the
  // device (a window's persistent image) can be shown or copied between
  // operations.
  PainterPageView(QPaintDevice& device, ViewScale scale);

  // For an image only this view draws on, white when this is called (a
  // window's persistent image): from now on Clear whitens only what was
  // drawn since the last Clear, as the rest is still white.
  void WhitenOnlyWhatIsDrawn();

  // What Hide does: the window that shows the view closes itself.
  void SetHideHook(std::function<void()> hide) { hide_ = std::move(hide); }

  const QFont& font() const { return font_; }
  const QColor& textColour() const { return textColour_; }
  bool transparent() const { return transparent_; }
  // Top-left corner of the next character cell, in view units.
  QPointF textPosition() const { return textPosition_; }
  const ViewScale& scale() const { return scale_; }

  // Fills the whole device with the background; the text position goes to
  // (0, 0). The font stays.
  void Clear() override;
  void Hide() override;
  void DrawRect(float x1, float y1, float x2, float y2, std::int32_t colour, bool filled) override;
  void MoveTo(float x, float y) override;
  // Prints at the text position and then, like a line printer, moves it to
  // the start of the next line: x 0, y one cell height further down.
  void PrintText(std::string_view text) override;
  void PrintNumber(std::int16_t number) override;
  bool SetFontName(std::string_view name) override;
  bool SetFontSize(float points) override;
  bool SetBold(bool on) override;
  bool SetItalic(bool on) override;
  bool SetUnderline(bool on) override;
  bool SetTransparent(bool on) override;
  bool SetTextColour(std::int32_t colour) override;
  // Without a size the picture's own size in hundredths of a millimetre is
  // taken as width / 100 by height / 100 view units.
  void DrawPicture(const Picture& picture, float x, float y, std::optional<Size> size) override;

 protected:
  // How a line of text is measured (for its opaque cell) and drawn, in the
  // device's units with the painter's transform reset: through QPainter's
  // text engine here. A device that lays out text itself overrides both,
  // so that each text is shaped once.
  virtual double TextAdvance(const QFontMetricsF& metrics, const QString& text);
  virtual void DrawTextLine(QPainter& painter, QPointF baseline, const QString& text);

 private:
  template <typename Draw>
  void Paint(Draw&& draw);
  QFont DefaultFont();
  QString DefaultFamily();
  bool PrintShaped(QPainter& painter, QPointF at, std::string_view text, double& cellHeight);
  void PrintLaidOut(QPainter& painter, QPointF at, std::string_view text, double& cellHeight);
  // Notes device pixels drawn on, when Clear whitens only those.
  void MarkDrawn(const QRectF& onDevice);

  QPainter* painter_ = nullptr;
  QPaintDevice* device_ = nullptr;
  ViewScale scale_;
  std::function<void()> hide_;
  FontFamilies families_;
  QFont font_;
  std::optional<QFontMetricsF> metrics_;  // of font_ on the device, once asked
  ShapedTexts shapedTexts_;
  std::optional<DrawnArea> drawn_;
  QColor textColour_{Qt::black};
  bool transparent_ = false;
  QPointF textPosition_;
};

}  // namespace lvx
