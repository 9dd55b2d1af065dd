// Lists of equally sized images with masks, drawn normally or dimmed: TCustomImageList does
// the work (the class that image-list properties hold); TImageList publishes its size.
#pragma once

#include <windows.h>
// after windows.h
#include <commctrl.h>

#include "forms/Bitmap.h"
#include "forms/core/Component.h"

namespace lbb::forms {

struct DestroyImageList {
  void operator()(HIMAGELIST h) const { ImageList_Destroy(h); }
};
using ImageListHandle = UniqueHandle<HIMAGELIST, DestroyImageList>;

class TCustomImageList : public TComponent {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TCustomImageList(TComponent* owner);

  int64_t Width() const { return width_; }
  void SetWidth(int64_t w);
  int64_t Height() const { return height_; }
  void SetHeight(int64_t h);
  int64_t Count() const;
  HIMAGELIST Handle();

  // Adds the images of `image` (one per Width() pixels across), the pixels of `maskColor`
  // left out. Returns the index of the first; -1 when nothing was added.
  int AddMasked(TBitmap& image, TColor maskColor);
  // Adds with an explicit monochrome mask bitmap (null: no transparency).
  int Add(TBitmap& image, TBitmap* mask);
  void Delete(int index);
  void Clear();
  // Draws image `index` at (x, y); dimmed when not `enabled`.
  void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
  void Draw(HDC dc, int x, int y, int index, bool enabled = true);
  // Copies image `index` into `bitmap` (its mask colour left as drawn on `background`).
  bool GetBitmap(int index, TBitmap& bitmap, TColor background = clFuchsia);
  // Scales the size and every image by m / d, each image by its nearest pixels (the list of a
  // form scaled to the screen's resolution). The handle stays the same, so the controls that
  // show the list keep it; they measure it again when it is given to them again.
  void ChangeScale(int m, int d);

 private:
  void Recreate();

  int64_t width_ = 16;
  int64_t height_ = 16;
  ImageListHandle handle_;
};

class TImageList : public TCustomImageList {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TImageList(TComponent* owner) : TCustomImageList(owner) {}
};

}  // namespace lbb::forms
