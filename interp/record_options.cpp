// SPDX-License-Identifier: GPL-3.0-or-later
#include "record_options.h"

#include "convert.h"
#include "file_lookup.h"

namespace lvx {
namespace {

// Reads an optional number: absent and empty values leave `target` alone.
bool ScanNumber(RecordScanner& scanner, std::string_view key, float& target) {
  const auto value = scanner.CutValue(key);
  if (!value || value->empty()) return false;
  target = static_cast<float>(ToNumber(*value));
  return true;
}

void ScanXY(RecordScanner& scanner, Position& position) {
  if (ScanNumber(scanner, "/X:", position.PosX)) position.HalfX = position.PosX / 2;
  if (ScanNumber(scanner, "/Y:", position.PosY)) position.HalfY = position.PosY / 2;
}

std::string TrimBlanks(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

BoxRecord ScanBox(RecordScanner& scanner, Position& position) {
  BoxRecord box;
  ScanXY(scanner, position);
  ScanNumber(scanner, "/W:", box.BoxWidth);
  ScanNumber(scanner, "/H:", box.BoxHeight);
  // An empty "/C:" is taken as it stands; it makes the box undrawable.
  if (auto colour = scanner.CutValue("/C:")) box.ColourText = std::move(*colour);
  box.BoxFill = scanner.HasFlag("/F");
  return box;
}

TextRecord ScanText(RecordScanner& scanner, Position& position) {
  TextRecord text;
  ScanXY(scanner, position);
  ScanNumber(scanner, "/R:", text.OffsetRight);
  ScanNumber(scanner, "/D:", text.OffsetDown);
  // The text runs to the end of the line, "/" included, so options written
  // after it are both options and text.
  if (auto value = scanner.CutRest("/T:")) text.TextValue = std::move(*value);
  text.PageNumberFlag = scanner.HasFlag("/PAGE");
  return text;
}

FontRecord ScanFont(RecordScanner& scanner) {
  FontRecord font;
  if (auto name = scanner.CutValue("/N:")) font.FontNameText = std::move(*name);
  // Flags are plain substrings: "/T" is also found as the start of "/T:".
  font.ItalicFlag = scanner.HasFlag("/I");
  font.BoldFlag = scanner.HasFlag("/B");
  font.UnderlineFlag = scanner.HasFlag("/U");
  font.TransparentFlag = scanner.HasFlag("/T");
  const auto size = scanner.CutValue("/S:");
  if (size && !size->empty()) font.FontSizePt = ToPoints(ToNumber(*size));
  if (auto colour = scanner.CutValue("/C:")) font.ColourText = std::move(*colour);
  font.FontNameText = TrimBlanks(font.FontNameText);
  return font;
}

ImageRecord ScanImage(RecordScanner& scanner, Position& position, std::string_view docFolder) {
  ImageRecord image;
  ScanXY(scanner, position);
  if (auto name = scanner.CutValue("/N:")) image.ImagePath = std::move(*name);
  if (!image.ImagePath.empty() && !HasSeparator(image.ImagePath)) {
    image.ImagePath = std::string(docFolder) + "/" + image.ImagePath;
  } else {
    image.ImagePath = LocalSeparators(image.ImagePath);
  }
  return image;
}

std::int16_t ScanOrientation(RecordScanner& scanner) {
  // "/V" is looked for although portrait is the default anyway: a "/V" past
  // the 16-bit positions still ends the record.
  scanner.HasFlag("/V");
  return scanner.HasFlag("/H") ? 2 : 1;
}

void ApplyOffsets(const TextRecord& text, Position& position) {
  position.HalfX += text.OffsetRight / 2;
  position.HalfY += text.OffsetDown / 2;
  position.PosX += text.OffsetRight;
  position.PosY += text.OffsetDown;
}

}  // namespace lvx
