// SPDX-License-Identifier: GPL-3.0-or-later
// The windows on a screen of device pixel ratio 1.5 and 2 show what they
// show at 1, with that many more pixels.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "window_fixture.h"

namespace lvx {
namespace {

namespace fs = std::filesystem;
using testing::WindowFixture;

bool IsLogoBlue(QRgb pixel) {
  return qBlue(pixel) > 120 && qRed(pixel) < 100 && qBlue(pixel) - qGreen(pixel) > 40;
}
bool IsInk(QRgb pixel) {
  return qRed(pixel) < 60 && qGreen(pixel) < 60 && qBlue(pixel) < 60;
}

QRect Bounds(const QImage& image, const QRect& area, bool (*wanted)(QRgb)) {
  QRect bounds;
  const QRect inside = area & image.rect();
  for (int y = inside.top(); y <= inside.bottom(); ++y) {
    for (int x = inside.left(); x <= inside.right(); ++x) {
      if (wanted(image.pixel(x, y))) bounds |= QRect(x, y, 1, 1);
    }
  }
  return bounds;
}

// What `window` shows on a screen of `ratio`, in device pixels.
QImage Shown(QWidget& window, qreal ratio) {
  QImage shot(QSize(qCeil(window.width() * ratio), qCeil(window.height() * ratio)),
              QImage::Format_RGB32);
  shot.setDevicePixelRatio(ratio);
  shot.fill(Qt::white);
  window.render(&shot);
  return shot;
}

// The invoice's first page in all three windows.
struct Invoice : WindowFixture {
  explicit Invoice(std::optional<qreal> ratio) {
    for (const char* name : {"invoice.lvx", "part-form.lvx", "logo.bmp"}) {
      fs::copy_file(std::string(LVX_EXAMPLES) + "/" + name, docs + "/" + name);
    }
    devicePixelRatio = ratio;
    Open(docs + "/invoice.lvx");
  }
};

TEST(DevicePixelRatio, WindowsShowThePageAsAtOneWithMorePixels) {
  Invoice base(1.0);
  const struct {
    const char* what;
    QWidget& (*window)(Invoice&);
    QRect area;  // logical pixels at ratio 1
    bool (*ink)(QRgb);
  } rows[] = {
      {"logo, page window",
       [](Invoice& f) -> QWidget& { return f.page(); },
       {250, 0, 138, 50},
       IsLogoBlue},
      {"rule and title, page window",
       [](Invoice& f) -> QWidget& { return f.page(); },
       {0, 20, 250, 40},
       IsInk},
      {"logo, zoom window",
       [](Invoice& f) -> QWidget& { return f.zoom(ZoomHalf::kUpper); },
       {500, 0, 260, 100},
       IsLogoBlue},
      {"rule, zoom window",
       [](Invoice& f) -> QWidget& { return f.zoom(ZoomHalf::kUpper); },
       {60, 95, 400, 15},
       IsInk},
  };
  for (const qreal ratio : {1.5, 2.0}) {
    Invoice f(ratio);
    for (const auto& row : rows) {
      SCOPED_TRACE(::testing::Message() << row.what << " at ratio " << ratio);
      const QRect at1 = Bounds(Shown(row.window(base), 1.0), row.area, row.ink);
      const QRect area(QPoint(row.area.left() * ratio, row.area.top() * ratio),
                       row.area.size() * ratio);
      const QRect atRatio = Bounds(Shown(row.window(f), ratio), area, row.ink);
      ASSERT_FALSE(at1.isEmpty());
      ASSERT_FALSE(atRatio.isEmpty());
      // Within a device pixel of the place at 1 times the ratio, and one
      // more for a far edge rounded at both ratios.
      EXPECT_NEAR(atRatio.left(), at1.left() * ratio, ratio);
      EXPECT_NEAR(atRatio.top(), at1.top() * ratio, ratio);
      EXPECT_NEAR(atRatio.right() + 1, (at1.right() + 1) * ratio, 1 + ratio);
      EXPECT_NEAR(atRatio.bottom() + 1, (at1.bottom() + 1) * ratio, 1 + ratio);
    }
  }
}

TEST(DevicePixelRatio, DrawingsHaveTheScreensPixels) {
  for (const qreal ratio : {1.0, 1.5, 2.0}) {
    Invoice f(ratio);
    EXPECT_EQ(f.document().PageDrawing().devicePixelRatio(), ratio);
    EXPECT_EQ(f.document().PageDrawing().width(), qCeil(461 * ratio));
    EXPECT_EQ(f.document().ZoomDrawing(ZoomHalf::kLower).height(), qCeil(540 * ratio));
  }
}

}  // namespace
}  // namespace lvx
