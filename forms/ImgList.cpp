#include "forms/ImgList.h"

#include <vector>

namespace lbb::forms {

const TClassInfo& TCustomImageList::StaticClassInfo() {
  static const TClassInfo info(u"TCustomImageList", &TComponent::StaticClassInfo());
  return info;
}

const TClassInfo& TImageList::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TImageList", &TCustomImageList::StaticClassInfo());
    i.Add(
        IntProp<TCustomImageList>(u"Width", &TCustomImageList::Width, &TCustomImageList::SetWidth));
    i.Add(IntProp<TCustomImageList>(u"Height", &TCustomImageList::Height,
                                    &TCustomImageList::SetHeight));
    i.Add(IntProp<TCustomImageList>(u"Count", &TCustomImageList::Count, nullptr));
    return i;
  }();
  return info;
}

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

void TCustomImageList::SetWidth(int64_t w) {
  if (w == width_ || w <= 0) return;
  width_ = w;
  Recreate();
}

void TCustomImageList::SetHeight(int64_t h) {
  if (h == height_ || h <= 0) return;
  height_ = h;
  Recreate();
}

void TCustomImageList::Recreate() {
  // A new size empties the list, as the images no longer fit.
  handle_.reset();
}

HIMAGELIST TCustomImageList::Handle() {
  if (!handle_) {
    handle_.reset(ImageList_Create(static_cast<int>(width_), static_cast<int>(height_),
                                   ILC_COLOR32 | ILC_MASK, 4, 4));
  }
  return handle_.get();
}

int64_t TCustomImageList::Count() const {
  return handle_ ? ImageList_GetImageCount(handle_.get()) : 0;
}

int TCustomImageList::AddMasked(TBitmap& image, TColor maskColor) {
  if (image.Empty() || !Handle()) return -1;
  // Image lists expect device-dependent bitmaps; give them a copy without alpha.
  TBitmap copy;
  copy.Assign(image);
  GdiFlush();
  for (int y = 0; y < copy.Pixels().Height(); ++y) {
    for (int x = 0; x < copy.Pixels().Width(); ++x)
      copy.Pixels().At(x, y) &= 0xFFFFFF;
  }
  BitmapHandle mask = copy.CreateMask(maskColor);
  return ImageList_Add(handle_.get(), copy.Handle(), mask.get());
}

int TCustomImageList::Add(TBitmap& image, TBitmap* mask) {
  if (image.Empty() || !Handle()) return -1;
  BitmapHandle monochrome;
  if (mask) monochrome = mask->CreateMask(clWhite);
  return ImageList_Add(handle_.get(), image.Handle(), monochrome.get());
}

void TCustomImageList::Delete(int index) {
  if (handle_) ImageList_Remove(handle_.get(), index);
}

void TCustomImageList::Clear() {
  if (handle_) ImageList_Remove(handle_.get(), -1);
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) {
  if (canvas) Draw(canvas->Handle(), x, y, index, enabled);
}

void TCustomImageList::Draw(HDC dc, int x, int y, int index, bool enabled) {
  if (!dc || !handle_ || index < 0 || index >= Count()) return;
  if (enabled) {
    ImageList_Draw(handle_.get(), index, dc, x, y, ILD_TRANSPARENT);
    return;
  }
  // Dimmed: the image blended half way into the button face.
  ImageList_DrawEx(handle_.get(), index, dc, x, y, 0, 0, CLR_NONE, GetSysColor(COLOR_BTNFACE),
                   ILD_TRANSPARENT | ILD_BLEND50);
}

void TCustomImageList::ChangeScale(int m, int d) {
  if (m == d || m <= 0 || d <= 0) return;
  const int w = MulDiv(static_cast<int>(width_), m, d), h = MulDiv(static_cast<int>(height_), m, d);
  if (w <= 0 || h <= 0) return;
  std::vector<TBitmap> images(static_cast<size_t>(Count()));
  for (size_t i = 0; i < images.size(); ++i) {
    TBitmap one;
    GetBitmap(static_cast<int>(i), one, clFuchsia);
    GdiFlush();
    images[i].SetPixels(ScaleCellsNearest(one.Pixels(), 1, m, d));
  }
  width_ = w;
  height_ = h;
  if (!handle_) return;
  // A new size empties the list and keeps its handle.
  ImageList_SetIconSize(handle_.get(), w, h);
  for (TBitmap& image : images)
    AddMasked(image, clFuchsia);
}

bool TCustomImageList::GetBitmap(int index, TBitmap& bitmap, TColor background) {
  if (!handle_ || index < 0 || index >= Count()) return false;
  bitmap.SetSize(static_cast<int>(width_), static_cast<int>(height_));
  TCanvas* canvas = bitmap.Canvas();
  canvas->Brush()->SetColor(background);
  RECT r{0, 0, static_cast<int>(width_), static_cast<int>(height_)};
  canvas->FillRect(r);
  Draw(canvas, 0, 0, index);
  return true;
}

}  // namespace lbb::forms
