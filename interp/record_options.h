// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "scanner.h"

namespace lvx {

// The current position. Never reset: a record without "/X:" or "/Y:" uses
// what the previous "*BOX", "*TEXT" or "*IMAGE" left, whatever its kind.
// HalfX and HalfY are the same point for a half-scale view.
struct Position {
  float PosX = 0;
  float PosY = 0;
  float HalfX = 0;
  float HalfY = 0;
};

inline constexpr const char* kBlack = "&H00000000";

// Options of one "*BOX" record, reset to these defaults for every record.
struct BoxRecord {
  float BoxWidth = 0;
  float BoxHeight = 0;
  std::string ColourText = kBlack;
  bool BoxFill = false;
};

// Options of one "*TEXT" record. The offsets are not yet added to the position.
struct TextRecord {
  float OffsetRight = 0;
  float OffsetDown = 0;
  std::string TextValue;
  bool PageNumberFlag = false;
};

// Options of one "*FONT" record: a complete description, never a change of
// the previous font.
struct FontRecord {
  std::string FontNameText;
  std::int16_t FontSizePt = 10;
  std::string ColourText = kBlack;
  bool ItalicFlag = false;
  bool BoldFlag = false;
  bool UnderlineFlag = false;
  bool TransparentFlag = false;
};

// The picture path of one "*IMAGE" record, already joined to the document's
// folder when the name has no separator; empty when no name was given.
struct ImageRecord {
  std::string ImagePath;
};

// Option scanning of each record kind. Each reads the current record of
// `scanner` in the order the format fixes, moves `position` where the record
// says, and throws ScanError on an overflow (the position changes made
// before the failing option stay, as they would in the original order).
BoxRecord ScanBox(RecordScanner& scanner, Position& position);
TextRecord ScanText(RecordScanner& scanner, Position& position);
FontRecord ScanFont(RecordScanner& scanner);
ImageRecord ScanImage(RecordScanner& scanner, Position& position, std::string_view docFolder);
// 1 for portrait, 2 for landscape: "/H" wins over "/V", neither is portrait.
std::int16_t ScanOrientation(RecordScanner& scanner);

// Adds a "*TEXT" record's offsets to the position, full and half scale.
void ApplyOffsets(const TextRecord& text, Position& position);

}  // namespace lvx
