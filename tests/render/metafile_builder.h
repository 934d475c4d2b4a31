// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>
#include <cstdint>
#include <vector>

namespace lvx::testing {

// Writes small Windows metafiles (with a placeable header) record by record.
class WmfBuilder {
 public:
  // The frame in logical units and how many of them make an inch.
  WmfBuilder(QRect frame, std::uint16_t unitsPerInch);

  WmfBuilder& Record(std::uint16_t function, std::vector<std::uint16_t> words);
  // A record that creates an object: it counts towards the header's object
  // table, which the player keeps to.
  WmfBuilder& Object(std::uint16_t function, std::vector<std::uint16_t> words);
  // Object records; each object takes the lowest free slot.
  WmfBuilder& SolidBrush(std::uint32_t bgr);
  WmfBuilder& NullPen();
  WmfBuilder& Select(std::uint16_t slot);
  WmfBuilder& Rectangle(QRect rect);
  WmfBuilder& WindowOrg(int x, int y);
  // A font whose characters are `height` logical units high.
  WmfBuilder& Font(int height, const char* face);
  WmfBuilder& TextOut(int x, int y, const char* text);
  WmfBuilder& TransparentText();
  // A bitmap record drawing `image` stretched over `target`, combined with
  // what lies below by the raster operation `rop` (a plain copy by default).
  WmfBuilder& StretchDib(QRect target, const QImage& image, std::uint32_t rop = 0x00CC0020);
  // A pattern fill of `target` with the selected brush and `rop`.
  WmfBuilder& PatBlt(QRect target, std::uint32_t rop);
  WmfBuilder& WindowExt(int x, int y);

  // `image` as the words of a device-independent bitmap, as blit and
  // pattern-brush records carry it.
  static std::vector<std::uint16_t> Dib(const QImage& image);

  // The file, ended by the end-of-file record.
  QByteArray Bytes() const;

 private:
  QRect frame_;
  std::uint16_t unitsPerInch_;
  std::uint16_t objects_ = 0;
  std::vector<std::vector<std::uint16_t>> records_;
};

// Writes small enhanced metafiles record by record, on a reference device
// of `devicePixels` pixels measuring `deviceMm` millimetres.
class EmfBuilder {
 public:
  // `bounds` in device pixels and `frameHmm` in hundredths of a millimetre,
  // both with their end points inside.
  EmfBuilder(QRect bounds, QRect frameHmm, QSize devicePixels, QSize deviceMm);

  EmfBuilder& Record(std::uint32_t type, std::vector<std::uint32_t> values);
  EmfBuilder& SolidBrush(std::uint32_t slot, std::uint32_t bgr);
  EmfBuilder& NullPen();
  EmfBuilder& Select(std::uint32_t slot);
  EmfBuilder& Rectangle(QRect rect);

  QByteArray Bytes() const;

 private:
  QRect bounds_;
  QRect frame_;
  QSize devicePixels_;
  QSize deviceMm_;
  std::vector<std::vector<std::uint32_t>> records_;
};

}  // namespace lvx::testing
