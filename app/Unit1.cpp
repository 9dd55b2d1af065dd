#include "app/Unit1.h"

#include <shellapi.h>

#include <cstring>
#include <exception>

#include "app/win/http/Http.h"
#include "app/win/platform/WinFileSystem.h"
#include "app/win/platform/WinRunHost.h"
#include "base/win/WideText.h"
#include "forms/Application.h"
#include "forms/core/Reader.h"
#include "resources/skin/BuiltinSkin.h"
#include "skin/win/WinSkinSystem.h"

namespace lbb::app {

namespace {

using namespace forms;

// Everything the runs and their workers share. Workers may still hand over their last log
// lines after the window is gone, so none of it belongs to the window: it lives until the
// process ends.
struct ProgramServices {
  AppState state;
  TMainRunHost host;
  win::WinFileSystem files;
  win::WinPageSource source;
  Downloader downloader{source};
  BackupEngine engine{state, host, files, downloader, win::ProgramSites()};
};

ProgramServices& Services() {
  static ProgramServices* services = new ProgramServices;  // never freed: see above
  return *services;
}

// Disables both buttons for the run and enables them again however it ends, so that a press
// of the other button while the run processes window events cannot start a second run.
class RunButtonsOff {
 public:
  RunButtonsOff(TForm1& form, bool& running) : form_(form), running_(running) {
    running_ = true;
    form_.Button1->SetEnabled(false);
    form_.Button2->SetEnabled(false);
  }
  ~RunButtonsOff() {
    form_.Button1->SetEnabled(true);
    form_.Button2->SetEnabled(true);
    running_ = false;
  }
  RunButtonsOff(const RunButtonsOff&) = delete;
  RunButtonsOff& operator=(const RunButtonsOff&) = delete;

 private:
  TForm1& form_;
  bool& running_;
};

const std::u16string_view kIntroLines[] = {
    u">程序不能备份您的私有文章。",
    u">含有中文的用户名，请以IE地址栏中的字符串作为准。",
    u">相册暂时只能下载默认相册里面的图片。",
    u">程序会自动从上一次备份的基础上备份新的文章，如果想全部重新备份，请删掉配置文件config.ini。",
    u">使用多线程技术，备份更加快速！",
};

template <class C>
C* Place(TForm1* form, int left, int top, int width, int height, std::u16string_view text) {
  auto* c = forms::Place<C>(form, left, top, width, height);
  if (!text.empty()) c->SetCaption(String(text));
  return c;
}

}  // namespace

AppState& ProgramState() {
  return Services().state;
}

void ShellOpen(const String& address) {
  ShellExecuteW(nullptr, L"open", lbb::Wide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

TForm1::TForm1(TComponent* owner) : TForm(owner), OpenAddress(ShellOpen) {
  SetName(u"Form1");
  SetBorderStyle(TFormBorderStyle::bsSingle);
  SetBorderIcons(biSystemMenu | biMinimize);
  SetPosition(TPosition::poScreenCenter);
  SetColor(clBtnFace);
  Font()->SetName(u"Tahoma");
  Font()->SetHeight(-11);
  Icon()->LoadFromResourceName(GetModuleHandleW(nullptr), u"MAINICON");
  HandleNeeded();
  SetClientWidth(455);
  SetClientHeight(267);
  CreateControls();
  CreateSkinData();
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnCanResize = [this](TObject* s, int& w, int& h, bool& r) { FormCanResize(s, w, h, r); };
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
  Services().host.SetLog([this](const lbb::String& line) { AppendLog(line); });
}

TForm1::~TForm1() {
  // Lines that workers hand over from now on have no log to go to.
  Services().host.SetLog(nullptr);
}

void TForm1::CreateControls() {
  Memo1 = Place<TMemo>(this, 0, 0, 455, 229, u"");
  Memo1->SetName(u"Memo1");
  Memo1->SetAlign(TAlign::alTop);
  Memo1->SetScrollBars(TScrollStyle::ssVertical);
  Memo1->SetWordWrap(true);
  Button1 = Place<TButton>(this, 132, 237, 57, 25, u"备份");
  Button1->SetName(u"Button1");
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
  Edit1 = Place<TEdit>(this, 53, 239, 75, 21, u"");
  Edit1->SetName(u"Edit1");
  LinkLabel1 = Place<TLinkLabel>(this, 256, 245, 194, 17, u"");
  LinkLabel1->SetName(u"LinkLabel1");
  LinkLabel1->OnLinkClick = [this](TObject* s, const String& link) {
    LinkLabel1LinkClick(s, link);
  };
  Button2 = Place<TButton>(this, 195, 237, 57, 25, u"相册");
  Button2->SetName(u"Button2");
  Button2->OnClick = [this](TObject* s) { Button2Click(s); };
  Label1 = Place<TLabel>(this, 1, 243, 48, 13, u"用户名：");
  Label1->SetName(u"Label1");
  Label1->SetAutoSize(false);  // keeps its designed size whatever the font measures
  Label1->SetBounds(1, 243, 48, 13);
  Memo1->SetTabOrder(0);
  Button1->SetTabOrder(1);
  Edit1->SetTabOrder(2);
  LinkLabel1->SetTabOrder(3);
  Button2->SetTabOrder(4);
}

void TForm1::CreateSkinData() {
  // The skin's system colours, metrics and named bitmaps come from Windows.
  static const skin::TWinSkinSystem platform;
  skin::SetSkinSystem(&platform);

  using namespace skin;
  SkinData1 = new TSkinData(this);
  SkinData1->SetName(u"SkinData1");
  // The component's stored settings, read as a form reader does: no run-time action while
  // they are read; its loaded step then asks the skin manager to skin everything.
  ReadComponents(
      *this,
      {{SkinData1,
        {TStoredProperty::Text(u"Active", u"True"), TStoredProperty::Text(u"DisableTag", u"99"),
         TStoredProperty::Text(u"SkinControls",
                               SetToText(DefaultSkinControls(), SkinControlTypeNames())),
         TStoredProperty::Text(u"Options", SetToText(kDefaultSkinOptions, SkinOptionNames())),
         TStoredProperty::Text(u"SkinFormtype", u"sfMainform"),
         TStoredProperty::Text(u"MenuUpdate", u"True"),
         TStoredProperty::Text(u"MenuMerge", u"False"),
         TStoredProperty::Binary(u"SkinStream", SkinStreamOf(resources::BuiltinSkin()))}}});
}

void TForm1::FormCreate(TObject*) {
  ProgramState().appDir = win::ProgramDirectory();
  Memo1->Lines()->Clear();
  Edit1->Clear();
  SetCaption(String(kMainCaption));
  // The link control knows only the href and id attributes of an anchor (another attribute
  // turns the whole anchor into plain text); the address opens in a new browser window
  // through the desktop's default handler anyway.
  LinkLabel1->SetCaption(u"我的博客：<a href=\"" + AuthorBlogURL + u"?key=LorvaneBlogBackUp\">" +
                         AuthorBlogURL + u"</a>");
  for (std::u16string_view line : kIntroLines)
    AppendLog(String(line));
  AppendLog(u">问题反馈：" + FeedbackURL);
  AppendLog(String(38, u'='));
}

void TForm1::AppendLog(const String& line) {
  // The line goes in at the end through the edit control's own selection, as the last line,
  // and the end is shown: a large run appends thousands of lines, and rewriting the whole
  // text for each would make the log quadratic in the run's size.
  HWND memo = Memo1->Handle();
  const int length = GetWindowTextLengthW(memo);
  const std::wstring text = (length > 0 ? L"\r\n" : L"") + lbb::Wide(line);
  SendMessageW(memo, EM_SETSEL, length, length);
  SendMessageW(memo, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageW(memo, EM_SCROLLCARET, 0, 0);
}

void TForm1::Button1Click(TObject*) {
  RunButton(RunKind::kBackup);
}

void TForm1::Button2Click(TObject*) {
  RunButton(RunKind::kAlbum);
}

void TForm1::RunButton(RunKind kind) {
  const lbb::String name = Trim(Edit1->Text());
  if (name.empty() || running_) return;
  {
    RunButtonsOff off(*this, running_);
    ProgramServices& s = Services();
    lbb::String error;
    try {
      s.host.SetRunKind(kind);
      error = kind == RunKind::kBackup ? s.engine.BackupButton(name) : s.engine.AlbumButton(name);
    } catch (const std::exception& e) {
      error = Utf8ToText(e.what());
    }
    // The buttons stay off while the message box is up, so no run starts behind it.
    if (!error.empty()) ShowRunError(error);
  }
  if (closeRequested_) Close();
}

void TForm1::ShowRunError(const lbb::String& error) {
  const std::wstring text = lbb::Wide(MessageBoxText(error));
  const std::wstring caption = lbb::Wide(String(kApplicationTitle));
  ::MessageBoxW(Handle(), text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
}

void TForm1::FormCanResize(TObject*, int&, int&, bool& resize) {
  resize = false;
}

void TForm1::LinkLabel1LinkClick(TObject*, const String& link) {
  if (OpenAddress) OpenAddress(link);
}

void TForm1::FormClose(TObject*, TCloseAction& action) {
  // A run in progress holds the window's state on the stack of its click handler: the
  // window closes when the run has ended.
  if (running_) {
    closeRequested_ = true;
    action = TCloseAction::caNone;
  }
}

}  // namespace lbb::app
