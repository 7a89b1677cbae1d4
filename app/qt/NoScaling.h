// The window is not scaled for the screen: its sizes are pixels at 96 dots per inch and its
// fonts keep their pixel heights, whatever QT_FONT_DPI, QT_SCALE_FACTOR, QT_SCREEN_SCALE_FACTORS
// or the screen's resolution say. Qt reads its scaling settings from the environment when the
// application is made; they are turned off for that moment and given back afterwards, so the
// programs the installer starts get the user's settings.
#pragma once

namespace ostrel::app::qt {

// Turns Qt's scaling off in the environment; returns argc, for use in the base initializer of
// the application.
int& WithoutScaling(int& argc);
// Gives back the environment that WithoutScaling changed.
void RestoreScalingSettings();

}  // namespace ostrel::app::qt
