// TSkinObjImage: hands the skin's check-box and radio-button cells to controls that paint their
// own glyphs from a bitmap property, instead of drawing over them. The control is reached
// through its published properties only; a property it lacks is skipped.
#pragma once

#include <memory>

#include "forms/Bitmap.h"
#include "forms/core/Component.h"

namespace lbb::skin {

class TSkinData;

// The kinds of control that take glyphs.
enum class TObjImageKind : int {
  oiCheckCustomGlyphs = 1,     // a check box with a "CustomGlyphs" bitmap
  oiRadioCustomGlyphs = 2,     // a radio button with a "CustomGlyphs" bitmap
  oiCheckPropertiesGlyph = 3,  // a check box whose "Properties" object has a "Glyph" bitmap
};

class TSkinObjImage {
 public:
  TSkinObjImage(forms::TObject* control, TObjImageKind aKind) : control_(control), kind(aKind) {}

  // Once only: remembers the skin data and the form skinner, builds and hands over the glyphs.
  void Init(void* skinForm, TSkinData* data);
  // The skin changed: the glyphs are built again.
  void SkinChange();
  // Gives the control back its own glyphs.
  void Unskin();

  bool Inited() const { return inited_; }
  int SkinState() const { return skinstate_; }
  void* SkinForm() const { return skinForm_; }
  // The strip last handed over (empty when the skin had nothing for this kind).
  const forms::TBitmap& Glyphs() const { return strip_; }

 private:
  bool BuildStrip();
  void HandOver();

  forms::TObject* control_;
  TSkinData* data_ = nullptr;
  void* skinForm_ = nullptr;
  forms::TBitmap strip_;
  bool inited_ = false;
  int skinstate_ = 0;

 public:
  TObjImageKind kind;
};

}  // namespace lbb::skin
