#include "skin/data/Skin3rdDefaults.h"

namespace lbb::skin {

namespace {

struct TKindGroup {
  const char16_t* kind;
  std::vector<const char16_t*> classes;
};

// Three classes appear twice (the second line right after the first), as in the list stored
// with the main window: TLMDFontSizeCombobox, TWWDBCombobox (then with "Combobox") and
// TDBCheckboxEh.
const std::vector<TKindGroup>& Groups() {
  static const std::vector<TKindGroup> groups = {
      {u"scrollbar",
       {u"TCategoryButtons", u"TVirtualStringTree", u"TVirtualDrawTree", u"TAdvPanelGroup",
        u"THTMLViewer", u"TDBCtrlGrid", u"TImageEnMView", u"TImageEnView", u"TAdvMemo",
        u"TDBAdvMemo"}},
      {u"pngspeedbutton", {u"TPngSpeedbutton"}},
      {u"pngbitbtn", {u"TPngBitBtn"}},
      {u"Panel",
       {u"TTBXDockablePanel", u"TControlBar", u"TTBDock", u"TTBToolbar", u"TRzGroup",
        u"TLMDCalculator", u"TLMDGROUPBOX", u"TLMDSIMPLEPANEL", u"TLMDDBCalendar",
        u"TLMDButtonPanel", u"TLMDLMDCalculator", u"TLMDHeaderPanel", u"TLMDTechnicalLine",
        u"TLMDLMDClock", u"TLMDTrackbar"}},
      {u"combobox", {u"TComboboxex",          u"TcxDBLookupComboBox",    u"TcxDBComboBox",
                     u"TcxDBDateEdit",        u"TcxDBImageComboBox",     u"TcxDBCalcEdit",
                     u"TcxDBBlobEdit",        u"TcxDBPopupEdit",         u"TcxDBFontNameComboBox",
                     u"TcxDBShellComboBox",   u"TRxLookupEdit",          u"TRxDBLookupCombo",
                     u"TRzDateTimeEdit",      u"TRzColorEdit",           u"TRzDateTimePicker",
                     u"TRzDBDateTimeEdit",    u"TRzDbColorEdit",         u"TRzDBDateTimePicker",
                     u"TLMDListCombobox",     u"TLMDCheckListCombobox",  u"TLMDHeaderListCombobox",
                     u"TLMDImageCombobox",    u"TLMDColorCombobox",      u"TLMDFontCombobox",
                     u"TLMDFontSizeCombobox", u"TLMDFontSizeCombobox",   u"TLMDPrinterCombobox",
                     u"TLMDDriveCombobox",    u"TLMDCalculatorComboBox", u"TLMDTrackBarComboBox",
                     u"TLMDCalendarComboBox", u"TLMDTreeComboBox",       u"TDBLookupCombobox",
                     u"TWWDBCombobox"}},
      {u"Combobox", {u"TWWDBCombobox"}},
      {u"combobox",
       {u"TWWDBLookupCombo", u"TWWKeyCombo", u"TWWTempKeyCombo", u"TWWDBDateTimePicker"}},
      {u"speedbutton", {u"TRxSpeedButton", u"TfrSpeedButton", u"TfrTBButton"}},
      {u"button", {u"TRzButton"}},
      {u"bitbtn", {u"TRzBitbtn", u"TLMDButton", u"TcxButton"}},
      {u"menubtn", {u"TRzMenuButton"}},
      {u"CheckGroup", {u"TRzCheckGroup", u"TLMDCheckGroup", u"TLMDDBCheckGroup"}},
      {u"Radiogroup",
       {u"TRzRadioGroup", u"TRzDBRadioGroup", u"TLMDRADIOGROUP", u"TLMDDBRADIOGROUP",
        u"TWWRADIOGROUP", u"TcxDBRadioGroup", u"TcxRadioGroup"}},
      {u"Radiobutton", {u"TRzDBRadioButton", u"TLMDRadiobutton"}},
      {u"Edit",
       {u"TRzButtonEdit",     u"TLMDCalculatorEdit", u"TLMDEDIT",           u"TLMDMASKEDIT",
        u"TLMDBROWSEEDIT",    u"TLMDEXTSPINEDIT",    u"TLMDCALENDAREDIT",   u"TLMDFILEOPENEDIT",
        u"TLMDFILESAVEEDIT",  u"TLMDCOLOREDIT",      u"TLMDDBEDIT",         u"TLMDDBMASKEDIT",
        u"TLMDDBEXTSPINEDIT", u"TLMDDBSPINEDIT",     u"TLMDDBEDITDBLookup", u"TLMDEDITDBLookup",
        u"TWWDBEDIT",         u"TOVCPICTUREFIELD",   u"TOVCDBPICTUREFIELD", u"TOVCSLIDEREDIT",
        u"TOVCDBSLIDEREDIT",  u"TOVCSIMPLEFIELD",    u"TOVCDBSIMPLEFIELD",  u"TO32DBFLEXEDIT",
        u"TOVCNUMERICFIELD",  u"TOVCDBNUMERICFIELD"}},
      {u"Checkbox", {u"TDBCheckboxEh", u"TDBCheckboxEh", u"TLMDCHECKBOX", u"TLMDDBCHECKBOX"}},
      {u"Groupbox", {u"TLMDGroupBox", u"TcxGroupbox"}},
  };
  return groups;
}

}  // namespace

std::vector<std::u16string> DefaultSkin3rd() {
  std::vector<std::u16string> lines;
  for (const TKindGroup& g : Groups())
    for (const char16_t* c : g.classes)
      lines.push_back(std::u16string(c) + u"=" + g.kind);
  return lines;
}

}  // namespace lbb::skin
