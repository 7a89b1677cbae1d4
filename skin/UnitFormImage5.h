// UnitFormImage5: fills the window's image controls with the embedded pictures and swaps
// a button's picture as the pointer enters, leaves, presses or releases the label over it.
// A path names a picture only by its file name; nothing is read from disk.
#pragma once

#include <string>
#include <string_view>

#include "skin/AppDir.h"
#include "skin/Form.h"

namespace ostrel::skin {
// The resource name a skin file path stands for: the part after the last "\" or ":",
// cut at its last dot.
std::string ResourceNameOf(std::string_view path);
}  // namespace ostrel::skin

// The window's control of that name if it is an image control, else nullptr.
ostrel::skin::Control* FindSkinImage(ostrel::skin::Form& window, std::string_view name);

// Throw ostrel::skin::SkinError ("Resource %s not found", or the decoder's message); the
// control then keeps its picture.
void LoadPngFromResource(std::string_view resource, ostrel::skin::Control& image);
void LoadPngImage(std::string_view path, ostrel::skin::Control& image);
void LoadGifFromResource(std::string_view resource, ostrel::skin::Control& image);
void LoadGifImage(std::string_view path, ostrel::skin::Control& image);

// The first pass: every image control with a Hint gets its first picture.
void LoadFormImages(ostrel::skin::Form& window);

// Shows the named button's picture for the state word ("normal", "hover", "down").
void SetImageState(ostrel::skin::Form& window, std::string_view imageName, std::string_view state);

// The press set (labels over three-state buttons) and the hover set (two-state buttons).
void SkinBtnMouseDown(ostrel::skin::Form& window, const ostrel::skin::Control* label);
void SkinBtnMouseEnter(ostrel::skin::Form& window, const ostrel::skin::Control* label);
void SkinBtnMouseLeave(ostrel::skin::Form& window, const ostrel::skin::Control* label);
void SkinBtnMouseUp(ostrel::skin::Form& window, const ostrel::skin::Control* label);
void SkinHotMouseEnter(ostrel::skin::Form& window, const ostrel::skin::Control* label);
void SkinHotMouseLeave(ostrel::skin::Form& window, const ostrel::skin::Control* label);
