#include "app/qt/NoScaling.h"

#include <QByteArray>

#include <optional>
#include <utility>
#include <vector>

namespace ostrel::app::qt {
namespace {

// Each variable with the value it had (none: it was not set).
std::vector<std::pair<const char*, std::optional<QByteArray>>>& Saved() {
  static std::vector<std::pair<const char*, std::optional<QByteArray>>> saved;
  return saved;
}

void Save(const char* name) {
  Saved().emplace_back(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
}

}  // namespace

int& WithoutScaling(int& argc) {
  RestoreScalingSettings();
  for (const char* name : {"QT_ENABLE_HIGHDPI_SCALING", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS",
                           "QT_DEVICE_PIXEL_RATIO", "QT_AUTO_SCREEN_SCALE_FACTOR", "QT_USE_PHYSICAL_DPI"}) {
    Save(name);
    qunsetenv(name);
  }
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");  // the screen's resolution (QT_FONT_DPI, Xft.dpi) scales nothing
  return argc;
}

void RestoreScalingSettings() {
  for (const auto& [name, value] : Saved()) {
    if (value) qputenv(name, *value);
    else qunsetenv(name);
  }
  Saved().clear();
}

}  // namespace ostrel::app::qt
