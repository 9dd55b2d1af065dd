// One owner-drawn popup menu item drawn by the form skinner's DrawMenuItem in the built-in
// skin's look, on the device context of a real popup window whose skinned background is
// rendered (the item copies its background from it), normal and selected in turn, with a
// caption, an image and a shortcut. Figure: the time per item, median of rounds of a batch of
// draws each (goal: at most 0.2 ms per item).
//   bench_skinmenuitem.exe [ROUNDS]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

#include "base/win/Handles.h"
#include "bench/skinframe/BenchTiming.h"
#include "forms/Application.h"
#include "forms/ImgList.h"
#include "forms/Menus.h"
#include "resources/skin/BuiltinSkin.h"
#include "skin/data/SkinStream.h"
#include "skin/data/imgutil.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinMenu.h"
#include "skin/manager/WinSkinDlg.h"

namespace {

using namespace lbb;
using namespace lbb::bench;
using namespace lbb::skin;

constexpr int kDefaultRounds = 50;
constexpr int kBatch = 200;
constexpr double kItemGoalMs = 0.2;

std::unique_ptr<TSkinData> BuiltinSkinData() {
  auto data = std::make_unique<TSkinData>(nullptr);
  const auto bytes = resources::BuiltinSkin();
  TMemoryStream block(std::vector<uint8_t>(bytes.begin(), bytes.end()));
  data->LoadFromStream(block);
  return data;
}

int Run(int rounds) {
  forms::Application->Initialize();
  UseSkinManager();
  TSkinManage& mgr = EnsureSkinManager();
  std::unique_ptr<TSkinData> data = BuiltinSkinData();
  if (data->Empty) {
    std::fprintf(stderr, "the built-in skin did not load\n");
    return 2;
  }
  forms::TPopupMenu menu(nullptr);
  forms::TImageList images(nullptr);
  forms::TBitmap glyph(16, 16);
  glyph.Pixels().Fill(0x30A040);
  images.AddMasked(glyph, lbb::clFuchsia);
  menu.SetImages(&images);
  auto* item = new forms::TMenuItem(&menu);
  item->SetCaption(u"&Open the archive");
  item->SetImageIndex(0);
  item->SetShortCut(forms::scCtrl | 'O');
  menu.Items()->Add(item);
  // The popup window: the class of the platform's menus, skinned by the manager, which hands
  // it the menu; its background rendered by its skinner.
  lbb::WindowHandle popup(CreateWindowExW(WS_EX_TOOLWINDOW, L"#32768", L"", WS_POPUP | WS_VISIBLE,
                                          100, 100, 220, 200, nullptr, nullptr, nullptr, nullptr));
  mgr.AddSkinData(data.get());
  mgr.SetActive(true);
  if (popup) mgr.AddPopupMenu(popup.get());
  mgr.SetHMenu(menu.Handle());
  TWinSkinPopMenu* skinner = mgr.FindPopMenu(menu.Handle());
  if (!skinner) {
    std::fprintf(stderr, "the popup window was not skinned\n");
    return 2;
  }
  skinner->RenderBackground();
  TWinSkinForm sf(nullptr);
  sf.fsd = data.get();
  lbb::WindowDc dc(popup.get());
  forms::TCanvas canvas;
  forms::CanvasScope scope(canvas, dc.get());
  const RECT r{3, 25, 217, 47};
  int n = 0;
  const std::vector<double> batches = TimeRuns(rounds, [&] {
    for (int i = 0; i < kBatch; ++i)
      sf.DrawMenuItem(item, &canvas, r, (n++ & 1) != 0);
    GdiFlush();
  });
  std::vector<double> perItem;
  for (double b : batches)
    perItem.push_back(b / kBatch);
  const Figures f = Summarise(batches);
  std::printf("batches of %d draws: median %.3f ms per batch\n", kBatch, f.median);
  const bool met = ReportGoal("one owner-drawn menu item (DrawMenuItem)", perItem, kItemGoalMs);
  // The same draws on an off-screen bitmap: what the composing costs without the transfer to
  // the window.
  forms::TBitmap target(220, 200);
  const std::vector<double> offscreen = TimeRuns(rounds, [&] {
    for (int i = 0; i < kBatch; ++i)
      sf.DrawMenuItem(item, target.Canvas(), r, (n++ & 1) != 0);
    GdiFlush();
  });
  std::vector<double> perOff;
  for (double b : offscreen)
    perOff.push_back(b / kBatch);
  ReportPart("the same item drawn on an off-screen bitmap", perOff);
  // Its parts, each on the off-screen bitmap.
  const auto part = [&](const char* what, const std::function<void()>& step) {
    std::vector<double> ms = TimeRuns(rounds, [&] {
      for (int i = 0; i < kBatch; ++i)
        step();
      GdiFlush();
    });
    for (double& m : ms)
      m /= kBatch;
    ReportPart(what, ms);
  };
  const TDataSkinObject& e = *data->MenuItem;
  part("  the item frame (DrawSkinImage)", [&] {
    DrawSkinImage(target.Pixels(), TRect{0, 0, 214, 22}, e.Map, false, e.Tile != 1, e.trans != 0, 5,
                  4, e.r);
  });
  part("  the image (image list)", [&] { images.Draw(target.Canvas()->Handle(), 4, 4, 0, true); });
  HDC tdc = target.Canvas()->Handle();
  part("  one caption (DrawTextW)", [&] {
    RECT t{20, 0, 200, 22};
    DrawTextW(tdc, L"&Open the archive", -1, &t, DT_SINGLELINE | DT_EXPANDTABS);
  });
  mgr.DeletePopupMenu(popup.get());
  return met ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRounds;
  return Run(rounds);
}
