// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdf_fonts.h"

#include <QRawFont>

#include "pdf_syntax.h"

namespace lvx {
namespace {

constexpr std::size_t kFontsRemembered = 64;

QString FaceKey(const QRawFont& raw) {
  return raw.familyName() + QLatin1Char('\n') + raw.styleName() + QLatin1Char('\n') +
         QString::number(raw.weight()) + QLatin1Char('\n') + QString::number(raw.style());
}

}  // namespace

PdfFonts::Choice PdfFonts::For(const QFont& font) {
  // Texts in a row mostly share a font: the one met last is asked first.
  if (last_ < known_.size() && known_[last_].font == font) return known_[last_].choice;
  for (std::size_t i = 0; i < known_.size(); ++i) {
    if (known_[i].font == font) {
      last_ = i;
      return known_[i].choice;
    }
  }
  const QRawFont raw = QRawFont::fromFont(font);
  Choice choice;
  // A platform without fonts gives a stand-in face that has no tables and
  // cannot even name its family.
  if (raw.isValid() && !raw.fontTable("head").isEmpty()) {
    const QString key = FaceKey(raw);
    std::size_t index = 0;
    while (index < faceKeys_.size() && faceKeys_[index] != key) ++index;
    if (index == faces_.size()) {
      std::string name = "F";
      name += std::to_string(faces_.size() + 1);
      faces_.push_back(std::make_unique<PdfFontFace>(raw, name, file_));
      faceKeys_.push_back(key);
    }
    if (faces_[index]->usable()) choice.face = faces_[index].get();
    choice.emboldened = font.weight() >= QFont::DemiBold && raw.weight() < QFont::DemiBold;
    choice.slanted = font.style() != QFont::StyleNormal && raw.style() == QFont::StyleNormal;
  }
  if (known_.size() >= kFontsRemembered) known_.clear();
  last_ = known_.size();
  known_.push_back({font, choice});
  return choice;
}

std::string PdfFonts::WriteAll() {
  std::string entries;
  for (const auto& face : faces_) {
    if (face->used()) entries += face->Write();
  }
  return entries;
}

void ShowRun(PdfContent& content, const PdfFontFace& face, double size, const ShapedRun& run) {
  for (const ShapedRun::Part& part : run.parts) {
    content.Font(face.Resource(part.page), size);
    std::string& out = content.Raw();
    out += part.shown;
    out += "TJ\n";
  }
}

}  // namespace lvx
