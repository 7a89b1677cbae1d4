// The window's font: "微软雅黑" where it is installed, otherwise the font that fontconfig
// picks for it among those with Chinese glyphs.
#pragma once

#include <QFont>
#include <QString>

namespace ostrel::app::qt {

// The family fontconfig matches for "Microsoft YaHei" in Simplified Chinese.
const QString& CjkFontFamily();

// That family with a character (em) height in pixels.
QFont CjkFont(int pixelHeight);

}  // namespace ostrel::app::qt
