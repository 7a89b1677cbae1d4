#include "skin/UnitFormImage5.h"

#include <memory>

#include "platform/ascii_case.h"
#include "skin/FormDescription.h"
#include "skin/GifDecode.h"
#include "skin/PngDecode.h"
#include "skin/ResourceSource.h"
#include "skin/SkinError.h"

using ostrel::skin::Control;
using ostrel::skin::Form;

namespace ostrel::skin {

std::string ResourceNameOf(std::string_view path) {
  size_t cut = path.find_last_of("\\:");
  std::string_view file = cut == std::string_view::npos ? path : path.substr(cut + 1);
  size_t dot = file.rfind('.');
  return std::string(dot == std::string_view::npos ? file : file.substr(0, dot));
}

namespace {

std::span<const uint8_t> ResourceBytes(std::string_view name) {
  if (auto bytes = FindPicture(name)) return *bytes;
  throw SkinError("Resource " + std::string(name) + " not found");
}

std::string Upper(std::string_view name) { return platform::AsciiUpperCopy(std::string(name)); }

void ApplyState(Form& window, const Control* label, std::string_view state) {
  if (label && !label->Hint().empty()) SetImageState(window, label->Hint(), state);
}

}  // namespace
}  // namespace ostrel::skin

Control* FindSkinImage(Form& window, std::string_view name) {
  Control* c = window.Find(name);
  return c && c->IsImage() ? c : nullptr;
}

void LoadPngFromResource(std::string_view resource, Control& image) {
  auto bytes = ostrel::skin::ResourceBytes(resource);
  image.form->SetPicture(image, std::make_shared<ostrel::skin::Picture>(ostrel::skin::Upper(resource),
                                                                   ostrel::skin::DecodePng(bytes)));
}

void LoadPngImage(std::string_view path, Control& image) {
  LoadPngFromResource(ostrel::skin::ResourceNameOf(path), image);
}

void LoadGifFromResource(std::string_view resource, Control& image) {
  auto bytes = ostrel::skin::ResourceBytes(resource);
  image.form->SetPicture(image, std::make_shared<ostrel::skin::Picture>(ostrel::skin::Upper(resource),
                                                                   ostrel::skin::DecodeGif(bytes)));
}

void LoadGifImage(std::string_view path, Control& image) {
  LoadGifFromResource(ostrel::skin::ResourceNameOf(path), image);
}

void LoadFormImages(Form& window) {
  for (Control& c : window.Controls()) {
    if (!c.IsImage() || c.Hint().empty()) continue;
    const bool button = c.Tag() == ostrel::skin::kThreeStateButton || c.Tag() == ostrel::skin::kTwoStateButton;
    LoadPngImage(AppDir + "res\\" + std::string(c.Hint()) + (button ? "_normal.png" : ".png"), c);
  }
}

void SetImageState(Form& window, std::string_view imageName, std::string_view state) {
  Control* image = FindSkinImage(window, imageName);
  if (!image) return;
  LoadPngImage(AppDir + "res\\" + std::string(image->Hint()) + "_" + std::string(state) + ".png", *image);
}

void SkinBtnMouseDown(Form& window, const Control* label) { ostrel::skin::ApplyState(window, label, "down"); }
void SkinBtnMouseEnter(Form& window, const Control* label) { ostrel::skin::ApplyState(window, label, "hover"); }
void SkinBtnMouseLeave(Form& window, const Control* label) { ostrel::skin::ApplyState(window, label, "normal"); }
void SkinBtnMouseUp(Form& window, const Control* label) { ostrel::skin::ApplyState(window, label, "normal"); }
void SkinHotMouseEnter(Form& window, const Control* label) { ostrel::skin::ApplyState(window, label, "down"); }
void SkinHotMouseLeave(Form& window, const Control* label) { ostrel::skin::ApplyState(window, label, "normal"); }
