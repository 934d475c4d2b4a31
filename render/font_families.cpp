// SPDX-License-Identifier: GPL-3.0-or-later
#include "font_families.h"

#include <fontconfig/fontconfig.h>

#include <QStringList>
#include <memory>

namespace lvx {
namespace {

constexpr qsizetype kMaxRemembered = 256;

struct PatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

QString FromFc(const FcChar8* text) {
  return QString::fromUtf8(reinterpret_cast<const char*>(text));
}

// Some family names carry their foundry: "Nimbus Sans [urw]".
QString WithoutFoundry(QString family) {
  const qsizetype bracket = family.indexOf(QLatin1String(" ["));
  if (bracket > 0 && family.endsWith(QLatin1Char(']'))) family.truncate(bracket);
  return family;
}

// The families that configuration rules bind strongly to the name: the
// name itself and its metric-compatible aliases, not the weak generic
// fallbacks every name gets.
QStringList StrongFamilies(FcPattern* pattern) {
  QStringList families;
  FcValue value;
  FcValueBinding binding;
  for (int i = 0; FcPatternGetWithBinding(pattern, FC_FAMILY, i, &value, &binding) == FcResultMatch;
       ++i) {
    if (binding != FcValueBindingWeak && value.type == FcTypeString) {
      families << WithoutFoundry(FromFc(value.u.s));
    }
  }
  return families;
}

std::optional<QString> Lookup(const QString& name) {
  const Pattern pattern(FcPatternCreate());
  if (!pattern) return std::nullopt;
  const QByteArray utf8 = name.toUtf8();
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(utf8.constData()));
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  const QStringList strong = StrongFamilies(pattern.get());

  FcResult result = FcResultNoMatch;
  const Pattern match(FcFontMatch(nullptr, pattern.get(), &result));
  if (!match) return std::nullopt;
  FcChar8* family = nullptr;
  if (FcPatternGetString(match.get(), FC_FAMILY, 0, &family) != FcResultMatch) return std::nullopt;
  const QString matched = WithoutFoundry(FromFc(family));
  if (!strong.contains(matched, Qt::CaseInsensitive)) return std::nullopt;
  return matched;
}

}  // namespace

std::optional<QString> FontFamilies::Resolve(const QString& name) {
  if (name.trimmed().isEmpty()) return std::nullopt;
  const auto known = known_.constFind(name);
  if (known != known_.constEnd()) return *known;
  if (known_.size() >= kMaxRemembered) known_.clear();
  const std::optional<QString> family = Lookup(name);
  known_.insert(name, family);
  return family;
}

}  // namespace lvx
