// Every published object property of the form library's classes, read and written by name
// with a real object of the class it declares: a declared class that does not exist, or that
// the objects it holds do not derive from, makes the property unusable by name.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "forms/Bitmap.h"
#include "forms/ButtonCtrls.h"
#include "forms/Buttons.h"
#include "forms/ComboBox.h"
#include "forms/Forms.h"
#include "forms/HintWindow.h"
#include "forms/ImgList.h"
#include "forms/ListView.h"
#include "forms/Menus.h"
#include "forms/PageControl.h"
#include "forms/RangeCtrls.h"
#include "forms/ScrollBar.h"
#include "forms/StatusBar.h"
#include "forms/StdCtrls.h"
#include "forms/Strings.h"
#include "tests/win/forms/FormsSupport.h"

namespace lbb::forms {
namespace {

std::string Narrow(const String& s) {
  return TextToUtf8(s);
}

// Makes a real object of a class that object properties declare. Components are owned by
// `target` (freed with it); other objects are kept in `keep`, which outlives the target.
class ObjectMaker {
 public:
  explicit ObjectMaker(std::vector<std::unique_ptr<TObject>>& keep) : keep_(keep) {}

  // Null when the class is unknown here (the test then fails and names it).
  TObject* Make(const String& className, TComponent* target) {
    if (className == u"TCustomImageList" || className == u"TImageList")
      return new TImageList(target);
    if (className == u"TMainMenu") return new TMainMenu(target);
    if (className == u"TWinControl") return new TPanel(target);
    if (className == u"TTabSheet") {
      auto* sheet = new TTabSheet(target);
      sheet->SetPageControl(dynamic_cast<TPageControl*>(target));
      return sheet;
    }
    if (className == u"TBitmap") return Keep(std::make_unique<TBitmap>(3, 2));
    if (className == u"TStrings") {
      auto lines = std::make_unique<TStrings>();
      lines->Add(u"first");
      lines->Add(u"第二");
      return Keep(std::move(lines));
    }
    return nullptr;
  }

 private:
  TObject* Keep(std::unique_ptr<TObject> o) {
    keep_.push_back(std::move(o));
    return keep_.back().get();
  }
  std::vector<std::unique_ptr<TObject>>& keep_;
};

// True when `read` holds what `written` holds: the same object, or for properties that take
// a copy (bitmaps, string lists) the same content.
bool SameContent(TObject* written, TObject* read) {
  if (written == read) return true;
  if (auto* a = dynamic_cast<TBitmap*>(written)) {
    auto* b = dynamic_cast<TBitmap*>(read);
    return b && a->Width() == b->Width() && a->Height() == b->Height();
  }
  if (auto* a = dynamic_cast<TStrings*>(written)) {
    auto* b = dynamic_cast<TStrings*>(read);
    return b && a->Items() == b->Items();
  }
  return false;
}

// Reads (and, when it can be written, writes) the object property `p` of `object`.
void CheckProperty(TObject* object, TComponent* target, const TPropInfo& p, ObjectMaker& maker) {
  SCOPED_TRACE(Narrow(object->ClassName()) + "." + Narrow(p.name) + " : " + Narrow(p.objectClass));
  if (!p.setObject) {
    // Read-only: the object it holds is of the declared class.
    TObject* held = GetObjectProp(object, p.name, p.objectClass);
    ASSERT_NE(held, nullptr);
    EXPECT_TRUE(held->InheritsFrom(p.objectClass));
    EXPECT_FALSE(SetObjectProp(object, p.name, held));
    return;
  }
  TObject* value = maker.Make(p.objectClass, target);
  ASSERT_NE(value, nullptr) << "no object made for the declared class";
  ASSERT_TRUE(value->InheritsFrom(p.objectClass)) << Narrow(value->ClassName());
  ASSERT_TRUE(SetObjectProp(object, p.name, value));
  TObject* read = GetObjectProp(object, p.name, p.objectClass);
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(SameContent(value, read));
}

// Walks the object properties of the class of `target` (or of `plain`, which is not a
// component) and its bases; returns how many there were. The objects written that are not
// components go to `keep`, which must outlive the target.
int CheckObjectProperties(std::vector<std::unique_ptr<TObject>>& keep, TComponent* target,
                          TObject* plain = nullptr) {
  ObjectMaker maker(keep);
  TObject* object = target ? static_cast<TObject*>(target) : plain;
  int checked = 0;
  for (const TClassInfo* c = &object->ClassInfo(); c; c = c->Parent()) {
    for (const TPropInfo& p : c->Props()) {
      if (p.type != TPropType::tkClass) continue;
      ++checked;
      CheckProperty(object, target, p, maker);
    }
  }
  return checked;
}

TEST(ObjectProperties, EveryClassReadsAndWritesItsObjectPropertiesByName) {
  test::EnsureApplication();
  std::map<std::string, int> counts;
  const std::vector<std::function<TComponent*()>> makers = {
      [] { return new TButton(nullptr); },      [] { return new TBitBtn(nullptr); },
      [] { return new TSpeedButton(nullptr); }, [] { return new TCheckBox(nullptr); },
      [] { return new TRadioButton(nullptr); }, [] { return new TGroupBox(nullptr); },
      [] { return new TComboBox(nullptr); },    [] { return new TForm(nullptr); },
      [] { return new THintWindow(nullptr); },  [] { return new TImageList(nullptr); },
      [] { return new TListView(nullptr); },    [] { return new TMainMenu(nullptr); },
      [] { return new TPopupMenu(nullptr); },   [] { return new TMenuItem(nullptr); },
      [] { return new TTabSheet(nullptr); },    [] { return new TPageControl(nullptr); },
      [] { return new TProgressBar(nullptr); }, [] { return new TTrackBar(nullptr); },
      [] { return new TUpDown(nullptr); },      [] { return new TScrollBar(nullptr); },
      [] { return new TStatusBar(nullptr); },   [] { return new TEdit(nullptr); },
      [] { return new TMemo(nullptr); },        [] { return new TLabel(nullptr); },
      [] { return new TLinkLabel(nullptr); },   [] { return new TPanel(nullptr); },
  };
  for (const auto& make : makers) {
    std::vector<std::unique_ptr<TObject>> keep;
    std::unique_ptr<TComponent> target(make());
    counts[Narrow(target->ClassName())] = CheckObjectProperties(keep, target.get());
  }
  std::vector<std::unique_ptr<TObject>> keep;
  TCanvas canvas;
  counts["TCanvas"] = CheckObjectProperties(keep, nullptr, &canvas);
  // The walk reached the properties that hold image lists, menus, pages and glyphs.
  EXPECT_EQ(counts["TBitBtn"], 3);       // Font, Glyph, Images
  EXPECT_EQ(counts["TSpeedButton"], 2);  // Font, Glyph
  EXPECT_EQ(counts["TPageControl"], 3);  // Font, ActivePage, Images
  EXPECT_EQ(counts["TListView"], 3);     // Font, SmallImages, LargeImages
  EXPECT_EQ(counts["TMainMenu"], 2);     // Images, Items
  EXPECT_EQ(counts["TForm"], 3);         // Font, Menu, Icon
  EXPECT_EQ(counts["TUpDown"], 2);       // Font, Associate
  EXPECT_EQ(counts["TCanvas"], 3);       // Font, Brush, Pen
}

TEST(ObjectProperties, ImageListsAreCustomImageLists) {
  TImageList list(nullptr);
  EXPECT_TRUE(list.InheritsFrom(u"TCustomImageList"));
  EXPECT_EQ(list.ClassName(), u"TImageList");
  EXPECT_EQ(GetIntProp(&list, u"Width"), 16);
  // A property that holds image lists takes any of them, and nothing else.
  TBitBtn button(nullptr);
  EXPECT_TRUE(SetObjectProp(&button, u"Images", &list));
  EXPECT_EQ(button.Images(), &list);
  TBitmap bitmap(1, 1);
  EXPECT_FALSE(SetObjectProp(&button, u"Images", &bitmap));
  EXPECT_EQ(button.Images(), &list);
}

}  // namespace
}  // namespace lbb::forms
