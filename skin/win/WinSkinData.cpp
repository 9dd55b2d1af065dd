#include "skin/win/WinSkinData.h"

#include <windows.h>

#include <filesystem>

#include "forms/Application.h"
#include "forms/Forms.h"
#include "forms/Graphics.h"
#include "skin/data/Skin3rdDefaults.h"

namespace lbb::skin {

namespace {

TSkinManagerSeam gNoManager;
TSkinManagerSeam* gManager = &gNoManager;
TSkinManagerFactory gFactory = nullptr;

// The first skin data component that loads (or takes a skin) makes the manager.
void MakeManagerIfNone() {
  if (gFactory && gManager == &gNoManager) gFactory();
}

}  // namespace

TSkinSet DefaultSkinControls() {
  TSkinSet s = 0;
  for (int m = xcMainMenu; m <= xcSystemMenu; ++m)
    if (m != xcMenuItem) s |= SetOf(m);
  return s;
}

forms::TBytes SkinStreamOf(std::span<const uint8_t> block) {
  const uint32_t count = static_cast<uint32_t>(block.size());
  forms::TBytes stream;
  stream.reserve(sizeof count + block.size());
  for (int shift = 0; shift < 32; shift += 8)  // little-endian, as the stream reads it
    stream.push_back(static_cast<uint8_t>(count >> shift));
  stream.insert(stream.end(), block.begin(), block.end());
  return stream;
}

void ShowSkinMessagesInBoxes() {
  SetSkinMessageHandler([](const String& message) {
    forms::Application->MessageBox(message, String(), MB_OK | MB_ICONWARNING);
  });
}

TSkinManagerSeam& SkinManager() {
  return *gManager;
}

void SetSkinManager(TSkinManagerSeam* manager) {
  gManager = manager ? manager : &gNoManager;
}

void SetSkinManagerFactory(TSkinManagerFactory factory) {
  gFactory = factory;
}

const forms::TClassInfo& TSkinData::StaticClassInfo() {
  static const forms::TClassInfo info = [] {
    forms::TClassInfo i(u"TSkinData", &forms::TComponent::StaticClassInfo());
    i.Add(forms::BoolProp<TSkinData>(u"Active", &TSkinData::Active, &TSkinData::SetActive));
    i.Add(forms::IntProp<TSkinData>(u"DisableTag", &TSkinData::DisableTagProp,
                                    &TSkinData::SetDisableTagProp));
    i.Add(forms::StrProp<TSkinData>(u"SkinControls", &TSkinData::SkinControlsText,
                                    &TSkinData::SetSkinControlsText));
    i.Add(
        forms::StrProp<TSkinData>(u"Options", &TSkinData::OptionsText, &TSkinData::SetOptionsText));
    i.Add(forms::ObjectProp<TSkinData, forms::TStrings>(
        u"Skin3rd", u"TStrings", &TSkinData::Skin3rdStrings, &TSkinData::SetSkin3rdStrings));
    i.Add(forms::StrProp<TSkinData>(u"SkinFile", &TSkinData::SkinFile, &TSkinData::SetSkinFile));
    i.Add(forms::StrProp<TSkinData>(u"SkinStore", &TSkinData::SkinStore, &TSkinData::SetSkinStore));
    i.Add(forms::EnumProp<TSkinData, TSkinFormType>(
        u"SkinFormtype", {u"sfMainform", u"sfOnlyThisForm", u"sfDialog", u"sfDLL"},
        &TSkinData::SkinFormtype, &TSkinData::SetSkinFormtype));
    i.Add(forms::StrProp<TSkinData>(u"Version", &TSkinData::Version, &TSkinData::SetVersion));
    i.Add(forms::BoolProp<TSkinData>(u"MenuUpdate", &TSkinData::MenuUpdate,
                                     &TSkinData::SetMenuUpdate));
    i.Add(
        forms::BoolProp<TSkinData>(u"MenuMerge", &TSkinData::MenuMerge, &TSkinData::SetMenuMerge));
    i.Add(forms::BinaryProp<TSkinData>(u"SkinStream", &TSkinData::SkinStreamBytes,
                                       &TSkinData::SetSkinStreamBytes));
    return i;
  }();
  return info;
}

TSkinData::TSkinData(forms::TComponent* AOwner)
    : forms::TComponent(AOwner),
      FSkinControls(DefaultSkinControls()),
      fSkinOptions(kDefaultSkinOptions),
      fhintwindow(std::make_unique<forms::THintWindow>(nullptr)) {
  // The skin is parsed at 96 DPI and scaled to the screen's (SkinParsed).
  SetTargetDpi(forms::ScreenPixelsPerInch());
  cxMax = GetSystemMetrics(SM_CXMAXIMIZED);
  cyMax = GetSystemMetrics(SM_CYMAXIMIZED);
  SetSkin3rd(DefaultSkin3rd());
  SysIcon.SetPixelFormat(forms::TPixelFormat::pf24bit);
  LoadMenuGlyphs();
}

TSkinData::~TSkinData() {
  BeginDestroy();
  SkinManager().Unregister(this);
}

void TSkinData::SetSkin3rd(const std::vector<std::u16string>& lines) {
  f3rdControls.Clear();
  for (const std::u16string& line : lines)
    f3rdControls.Add(line);
}

void TSkinData::SetSkin3rdStrings(forms::TStrings* lines) {
  if (lines)
    f3rdControls.Assign(*lines);
  else
    f3rdControls.Clear();
}

void TSkinData::UpdateMainMenu(bool done) {
  MenuMsg = done;
  if (done) SkinManager().RefreshMenuBars();
}

void TSkinData::ChangeForm(forms::TWinControl* aform) {
  if (!aform) return;
  SkinManager().SetLpara(aform->Handle());
  SkinManager().SetAction(TSkinAction::saReskinForm, kSkinActionDelayMs);
}

std::u16string TSkinData::SkinStore() const {
  if (!IsDesignTime()) return u"";
  return data.Size() > 0 ? u"(Good)" : u"(none)";
}

void TSkinData::WriteSkinStream(TStream& stream) const {
  const int32_t n = static_cast<int32_t>(data.Size());
  stream.Write(&n, sizeof(n));
  if (n > 0) stream.Write(data.Bytes().data(), static_cast<size_t>(n));
}

void TSkinData::ReadSkinStream(TStream& stream) {
  int32_t n = 0;
  stream.ReadBuffer(&n, sizeof(n));
  data.Clear();
  if (n <= 0) return;
  // A damaged form stream may state more bytes than it holds: fail as a short read would,
  // before allocating for them.
  if (n > stream.Size() - stream.Position()) throw EStreamError("Stream read error");
  std::vector<uint8_t> bytes(static_cast<size_t>(n));
  stream.ReadBuffer(bytes.data(), bytes.size());
  data.Write(bytes.data(), bytes.size());
  if (!IsDesignTime()) ParseSkin();
}

forms::TBytes TSkinData::SkinStreamBytes() const {
  TMemoryStream stream;
  WriteSkinStream(stream);
  return stream.Bytes();
}

void TSkinData::SetSkinStreamBytes(const forms::TBytes& bytes) {
  TMemoryStream stream(bytes.empty() ? forms::TBytes(sizeof(int32_t), 0) : bytes);
  ReadSkinStream(stream);
}

void TSkinData::ApplySkin() {
  if (OnlyStoring()) return;
  MakeManagerIfNone();
  SkinManager().SetUpdateData(this);
  SkinManager().DeleteSysbtn();
  if (SkinManager().State() == TSkinManagerState::msRunning)
    SkinManager().SetAction(TSkinAction::saSkinChanged, kSkinActionDelayMs);
}

void TSkinData::LoadFromFile(const std::u16string& value) {
  Empty = true;
  fskinfile = value;
  const std::filesystem::path path(std::wstring(value.begin(), value.end()));
  if (IsDesignTime()) {
    if (!value.empty() && data.Size() > 0) data.Clear();
    return;
  }
  std::error_code ec;
  if (value.empty() || !std::filesystem::is_regular_file(path, ec)) return;
  // A file that is there but cannot be read (locked, no access) is ignored like a missing
  // one: the skin stays as it was and Empty stays true.
  TMemoryStream bytes;
  try {
    bytes.LoadFromFile(path);
  } catch (const EStreamError&) {
    return;
  }
  data.Clear();
  data.Write(bytes.Bytes().data(), bytes.Bytes().size());
  ParseSkin();
  ApplySkin();
}

void TSkinData::LoadFromStream(TStream& Stream) {
  Stream.SetPosition(0);
  const std::vector<uint8_t> bytes = Stream.ReadRest();
  data.Clear();
  data.Write(bytes.data(), bytes.size());
  ParseSkin();
  if (ftype == TSkinFormType::sfMainform) ApplySkin();
}

void TSkinData::LoadFromCollection(const TSkinStore& astore, int aindex) {
  if (aindex < 0 || aindex >= astore.Store().Count()) return;
  TMemoryStream block;
  astore.Store().Items(aindex).WriteData(block);
  data.Clear();
  data.Write(block.Bytes().data(), block.Bytes().size());
  ParseSkin();
  ApplySkin();
}

void TSkinData::Loaded() {
  forms::TComponent::Loaded();
  if (IsDesignTime()) return;
  if (!HasScrollBarInfo()) FSkinControls &= ~SetOf(xcScrollbar);
  MakeManagerIfNone();
  SkinManager().Register(this);
  ReadCaptionFont();
  if (ftype != TSkinFormType::sfMainform) {
    SkinManager().SetActive(true);
    SkinManager().SetState(CountedUp(SkinManager().State()));
    // Only a form owner is added: a component placed on anything else skins nothing.
    auto* form = dynamic_cast<forms::TCustomForm*>(Owner());
    if (factive && form) SkinManager().AddForm(form->Handle());
    return;
  }
  SkinManager().InstallHooks();
  if (factive) {
    if (Empty)
      factive = false;
    else
      SkinManager().SetAction(TSkinAction::saSkinAll, kSkinActionDelayMs);
  }
  if (InSet(FSkinControls, xcMainMenu))
    FSkinControls &= ~SetOf(xcMenuItem);
  else
    FSkinControls &= ~SetOf(xcSystemMenu);
  GetAppIcon();
}

void TSkinData::SetActive(bool value) {
  factive = value;
  if (OnlyStoring()) return;
  const TSkinAction action = value ? TSkinAction::saSkinAll : TSkinAction::saUnskinAll;
  switch (ftype) {
    case TSkinFormType::sfMainform:
      if (value && Empty) return;
      SkinManager().SetUpdateData(this);
      SkinManager().SetAction(action, kSkinActionDelayMs);
      if (value) SkinManager().SetState(TSkinManagerState::msRunning);
      return;
    case TSkinFormType::sfOnlyThisForm:
      SkinManager().SetUpdateData(this);
      if (value && Empty) return;
      SkinManager().SetAction(action, kSkinActionDelayMs);
      return;
    default:
      return;
  }
}

void TSkinData::DoFormSkin(HWND ahwnd, const std::u16string& aname, bool& Doskin) {
  formhwnd = ahwnd;
  if (OnFormSkin) {
    OnFormSkin(this, aname, Doskin);
    return;
  }
  if (aname == u"SysMonthCal32")
    Doskin = false;
  else if (InSet(FSkinControls, xcFastReport) && aname.rfind(u"Tfr", 0) == 0)
    Doskin = false;
}

void TSkinData::ChangeProperty(forms::TObject* control, const std::u16string& aprop,
                               const std::u16string& value) {
  const forms::TPropInfo* p = forms::FindProp(control, aprop);
  if (p && p->type == forms::TPropType::tkEnumeration) forms::SetPropText(control, aprop, value);
}

}  // namespace lbb::skin
