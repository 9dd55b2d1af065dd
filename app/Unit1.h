// TForm1, the program's main window: the log, the user-name box, the backup and album
// buttons and the link to the author's blog. The buttons run the engine's two runs on the UI
// thread; errors that end a run are shown in a message box.
#pragma once

#include <functional>
#include <string_view>

#include "app/MainRunHost.h"
#include "app/engine/Scrape.h"
#include "forms/Forms.h"
#include "forms/StdCtrls.h"
#include "skin/win/WinSkinData.h"

namespace lbb::app {

using forms::TObject;
using lbb::String;

// The author's blog and the feedback article on the blog host. The blog's address is the
// host's short form for a user's blog: the link label shows it whole beside "我的博客：" in
// its 194 pixels (the long form wraps onto a second line that the label cannot show).
inline const String AuthorBlogURL = u"http://lorvane.com/orlend";
inline const String FeedbackURL =
    String(BlogSiteURL) + u"/orlend/blog/item/4f1a2c7e9b3d05a8c6e2.html";

// The texts of the window.
inline constexpr std::u16string_view kApplicationTitle = u"Orlend作品";
inline constexpr std::u16string_view kMainCaption = u"Lorvane博客备份工具 V1.3多线程版 By Orlend";

class TForm1 : public forms::TForm {
 public:
  explicit TForm1(forms::TComponent* owner);
  ~TForm1() override;

  forms::TMemo* Memo1 = nullptr;
  forms::TButton* Button1 = nullptr;
  forms::TEdit* Edit1 = nullptr;
  forms::TLinkLabel* LinkLabel1 = nullptr;
  forms::TButton* Button2 = nullptr;
  forms::TLabel* Label1 = nullptr;
  // The skin data component, owned by the window, read as the form's stored settings: the
  // built-in skin as its stream, active, DisableTag 99. The skin is parsed when the window
  // is made; the skin manager that skins the windows with it comes through its seam.
  skin::TSkinData* SkinData1 = nullptr;

  // Opens an address with the desktop's default handler; tests put a recorder here.
  std::function<void(const String& address)> OpenAddress;

  void FormCreate(TObject* sender);
  void Button1Click(TObject* sender);
  void Button2Click(TObject* sender);
  void FormCanResize(TObject* sender, int& newWidth, int& newHeight, bool& resize);
  void LinkLabel1LinkClick(TObject* sender, const String& link);
  void FormClose(TObject* sender, forms::TCloseAction& action);

  // True from a button press until its run has ended and its error (if any) was shown.
  bool Running() const { return running_; }
  // Adds `line` at the end of the log and shows it.
  void AppendLog(const String& line);

 private:
  void CreateControls();
  void CreateSkinData();
  void RunButton(RunKind kind);
  void ShowRunError(const lbb::String& error);

  bool running_ = false;
  bool closeRequested_ = false;
};

// Opens `address` with the desktop's default handler ("open", shown normally); a failure is
// not reported.
void ShellOpen(const String& address);

// The process-wide state of the runs (appDir, userName, lastURL, doneCount, blogLinks,
// linkLock), which lives until the process ends.
AppState& ProgramState();

}  // namespace lbb::app
