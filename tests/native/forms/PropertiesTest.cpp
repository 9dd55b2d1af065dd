// Published properties read and written by name, as the skin engine uses them on controls it
// does not know.
#include <gtest/gtest.h>

#include "forms/core/Component.h"
#include "forms/core/Properties.h"

namespace lbb::forms {
namespace {

enum class TKind { sbHorizontal, sbVertical };

class TGlyphHolder : public TObject {
  LBB_FORMS_CLASS_INFO
 public:
  int64_t Size() const { return size_; }
  void SetSize(int64_t v) { size_ = v; }

 private:
  int64_t size_ = 16;
};

const TClassInfo& TGlyphHolder::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TGlyphHolder", &TObject::StaticClassInfo());
    i.Add(IntProp<TGlyphHolder>(u"Size", &TGlyphHolder::Size, &TGlyphHolder::SetSize));
    return i;
  }();
  return info;
}

class TSample : public TComponent {
  LBB_FORMS_CLASS_INFO
 public:
  TSample() : TComponent(nullptr) {}
  int64_t Color() const { return color_; }
  void SetColor(int64_t v) { color_ = v; }
  bool Flat() const { return flat_; }
  void SetFlat(bool v) { flat_ = v; }
  TKind Kind() const { return kind_; }
  void SetKind(TKind v) { kind_ = v; }
  String Caption() const { return caption_; }
  void SetCaption(const String& v) { caption_ = v; }
  TGlyphHolder* Properties() const { return properties_.get(); }
  TObject* Glyph() const { return glyph_; }
  void SetGlyph(TObject* g) { glyph_ = g; }

 private:
  int64_t color_ = 0x8000000F;
  bool flat_ = false;
  TKind kind_ = TKind::sbVertical;
  String caption_;
  std::unique_ptr<TGlyphHolder> properties_ = std::make_unique<TGlyphHolder>();
  TObject* glyph_ = nullptr;
};

const TClassInfo& TSample::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TSample", &TComponent::StaticClassInfo());
    i.Add(IntProp<TSample>(u"Color", &TSample::Color, &TSample::SetColor));
    i.Add(BoolProp<TSample>(u"Flat", &TSample::Flat, &TSample::SetFlat));
    i.Add(EnumProp<TSample, TKind>(u"Kind", {u"sbHorizontal", u"sbVertical"}, &TSample::Kind,
                                   &TSample::SetKind));
    i.Add(StrProp<TSample>(u"Caption", &TSample::Caption, &TSample::SetCaption));
    i.Add(ObjectProp<TSample, TGlyphHolder>(u"Properties", u"TGlyphHolder", &TSample::Properties,
                                            nullptr));
    i.Add(ObjectProp<TSample, TObject>(u"Glyph", u"TGlyphHolder", &TSample::Glyph,
                                       &TSample::SetGlyph));
    return i;
  }();
  return info;
}

TEST(PropertiesTest, ReadsEachKindByNameIgnoringCase) {
  TSample s;
  s.SetCaption(u"备份");
  s.SetTag(99);
  EXPECT_EQ(GetIntProp(&s, u"color"), 0x8000000F);
  EXPECT_EQ(GetIntProp(&s, u"Tag"), 99);
  EXPECT_EQ(GetEnumProp(&s, u"Flat"), u"false");
  EXPECT_EQ(GetEnumProp(&s, u"KIND"), u"sbVertical");
  EXPECT_EQ(GetStrProp(&s, u"Caption"), u"备份");
  EXPECT_EQ(GetObjectProp(&s, u"Properties"), s.Properties());
  EXPECT_EQ(s.ClassName(), u"TSample");
  EXPECT_TRUE(s.InheritsFrom(u"tcomponent"));
  EXPECT_FALSE(s.InheritsFrom(u"TControl"));
}

TEST(PropertiesTest, MissingOrMistypedPropertiesReadAsAbsentAndIgnoreWrites) {
  TSample s;
  EXPECT_EQ(GetIntProp(&s, u"Margin"), -1);
  EXPECT_EQ(GetIntProp(&s, u"Caption"), -1);  // a string is not an integer
  EXPECT_EQ(GetEnumProp(&s, u"Color"), u"");
  EXPECT_EQ(GetStrProp(&s, u"Layout"), u"");
  EXPECT_EQ(GetObjectProp(&s, u"Images"), nullptr);
  EXPECT_FALSE(SetPropText(&s, u"Transparent", u"True"));
  EXPECT_FALSE(SetPropText(&s, u"Properties", u"x"));
  EXPECT_EQ(GetIntProp(nullptr, u"Color"), -1);
  EXPECT_EQ(GetStrProp(nullptr, u"Caption"), u"");
  EXPECT_FALSE(SetPropText(nullptr, u"Caption", u"x"));
}

TEST(PropertiesTest, WritesFromTextByType) {
  TSample s;
  EXPECT_TRUE(SetPropText(&s, u"Flat", u"True"));
  EXPECT_TRUE(s.Flat());
  EXPECT_TRUE(SetPropText(&s, u"Kind", u"SBHORIZONTAL"));
  EXPECT_EQ(s.Kind(), TKind::sbHorizontal);
  EXPECT_FALSE(SetPropText(&s, u"Kind", u"sbDiagonal"));
  EXPECT_EQ(s.Kind(), TKind::sbHorizontal);
  EXPECT_TRUE(SetPropText(&s, u"Color", u"16711935"));
  EXPECT_EQ(s.Color(), 0xFF00FF);
  EXPECT_TRUE(SetPropText(&s, u"Color", u"$80000005"));
  EXPECT_EQ(s.Color(), static_cast<int32_t>(0x80000005));
  EXPECT_TRUE(SetPropText(&s, u"Color", u"-5"));
  EXPECT_EQ(s.Color(), -5);
  EXPECT_FALSE(SetPropText(&s, u"Color", u"12px"));
  EXPECT_EQ(s.Color(), -5);
  EXPECT_TRUE(SetPropText(&s, u"Caption", u"相册"));
  EXPECT_EQ(s.Caption(), u"相册");
  EXPECT_TRUE(SetIntProp(&s, u"Kind", 1));
  EXPECT_FALSE(SetIntProp(&s, u"Kind", 7));
  EXPECT_EQ(s.Kind(), TKind::sbVertical);
}

TEST(PropertiesTest, NestedAndObjectProperties) {
  TSample s;
  TGlyphHolder g;
  EXPECT_EQ(ObjectAtPath(&s, {u"Properties"}), s.Properties());
  EXPECT_EQ(GetIntProp(ObjectAtPath(&s, {u"Properties"}), u"Size"), 16);
  EXPECT_TRUE(SetPropText(GetObjectProp(&s, u"Properties"), u"Size", u"24"));
  EXPECT_EQ(s.Properties()->Size(), 24);
  EXPECT_EQ(ObjectAtPath(&s, {u"Properties", u"Glyph"}), nullptr);
  EXPECT_EQ(ObjectAtPath(&s, {u"Nothing", u"Size"}), nullptr);
  // The object must be of the declared class.
  TSample other;
  EXPECT_FALSE(SetObjectProp(&s, u"Glyph", &other));
  EXPECT_EQ(s.Glyph(), nullptr);
  EXPECT_TRUE(SetObjectProp(&s, u"Glyph", &g));
  EXPECT_EQ(GetObjectProp(&s, u"Glyph", u"TGlyphHolder"), &g);
  EXPECT_EQ(GetObjectProp(&s, u"Glyph", u"TBitmap"), nullptr);
}

}  // namespace
}  // namespace lbb::forms
