#include "app/qt/CjkFont.h"

#include <fontconfig/fontconfig.h>

namespace ostrel::app::qt {
namespace {

QString MatchFamily() {
  QString family = QStringLiteral("Microsoft YaHei");
  if (!FcInit()) return family;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("Microsoft YaHei"));
  FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
    FcChar8* name = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch && name)
      family = QString::fromUtf8(reinterpret_cast<const char*>(name));
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return family;
}

}  // namespace

const QString& CjkFontFamily() {
  static const QString family = MatchFamily();
  return family;
}

QFont CjkFont(int pixelHeight) {
  QFont font(CjkFontFamily());
  font.setPixelSize(pixelHeight);
  return font;
}

}  // namespace ostrel::app::qt
