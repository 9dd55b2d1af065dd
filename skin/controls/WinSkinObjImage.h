// TSkinObjImage: hands the skin's check-box and radio-button cells to controls that paint their
// own glyphs from a bitmap property, instead of drawing over them. The control is reached
// through its published properties only; a property it lacks is skipped. It is a control
// skinner like the others (owned by its control, listed in the form skinner's control list,
// unsubclassed with them), but it takes over no messages: the control keeps painting itself,
// now with the skin's glyphs.
#pragma once

#include "forms/Bitmap.h"
#include "skin/controls/WinSubClass.h"

namespace lbb::skin {

// The kinds of control that take glyphs.
enum class TObjImageKind : int {
  oiCheckCustomGlyphs = 1,     // a check box with a "CustomGlyphs" bitmap
  oiRadioCustomGlyphs = 2,     // a radio button with a "CustomGlyphs" bitmap
  oiCheckPropertiesGlyph = 3,  // a check box whose "Properties" object has a "Glyph" bitmap
};

class TSkinObjImage : public TSkinControl {
 public:
  // `AOwner` is the control that takes the glyphs.
  TSkinObjImage(forms::TComponent* AOwner, TObjImageKind aKind);

  // Once only: remembers the skin data and the form skinner (and joins its list), builds and
  // hands over the glyphs.
  void Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas);
  // The same through the common start; `acolor` gives a windowed control the skin's
  // ButtonFace until it is unsubclassed.
  void Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas, bool acolor) override;
  // The skin changed: the glyphs are built again.
  void SkinChange() override;
  // Gives the control back its own glyphs, then stops like every skinner.
  void Unsubclass() override;
  // Gives the control back its own glyphs.
  void Unskin();

  // The strip last handed over (empty when the skin had nothing for this kind).
  const forms::TBitmap& Glyphs() const { return strip_; }

  TObjImageKind Kind() const { return static_cast<TObjImageKind>(kind); }

 private:
  bool BuildStrip();
  void HandOver();

  forms::TObject* target_;
  forms::TBitmap strip_;
};

}  // namespace lbb::skin
