// The default Skin3rd list: 118 "class=kind" lines in the order the component adds them.
#include <gtest/gtest.h>

#include <algorithm>

#include "skin/data/Skin3rdDefaults.h"

namespace {

using lbb::skin::DefaultSkin3rd;

struct Group {
  const char16_t* kind;
  const char16_t* classes;  // comma-separated
};

// Each kind word and its classes, in the order of the list.
const Group kGroups[] = {
    {u"scrollbar",
     u"TCategoryButtons, TVirtualStringTree, TVirtualDrawTree, TAdvPanelGroup, THTMLViewer, "
     u"TDBCtrlGrid, TImageEnMView, TImageEnView, TAdvMemo, TDBAdvMemo"},
    {u"pngspeedbutton", u"TPngSpeedbutton"},
    {u"pngbitbtn", u"TPngBitBtn"},
    {u"Panel",
     u"TTBXDockablePanel, TControlBar, TTBDock, TTBToolbar, TRzGroup, TLMDCalculator, "
     u"TLMDGROUPBOX, TLMDSIMPLEPANEL, TLMDDBCalendar, TLMDButtonPanel, TLMDLMDCalculator, "
     u"TLMDHeaderPanel, TLMDTechnicalLine, TLMDLMDClock, TLMDTrackbar"},
    {u"combobox",
     u"TComboboxex, TcxDBLookupComboBox, TcxDBComboBox, TcxDBDateEdit, TcxDBImageComboBox, "
     u"TcxDBCalcEdit, TcxDBBlobEdit, TcxDBPopupEdit, TcxDBFontNameComboBox, TcxDBShellComboBox, "
     u"TRxLookupEdit, TRxDBLookupCombo, TRzDateTimeEdit, TRzColorEdit, TRzDateTimePicker, "
     u"TRzDBDateTimeEdit, TRzDbColorEdit, TRzDBDateTimePicker, TLMDListCombobox, "
     u"TLMDCheckListCombobox, TLMDHeaderListCombobox, TLMDImageCombobox, TLMDColorCombobox, "
     u"TLMDFontCombobox, TLMDFontSizeCombobox, TLMDPrinterCombobox, TLMDDriveCombobox, "
     u"TLMDCalculatorComboBox, TLMDTrackBarComboBox, TLMDCalendarComboBox, TLMDTreeComboBox, "
     u"TDBLookupCombobox, TWWDBCombobox, TWWDBLookupCombo, TWWKeyCombo, TWWTempKeyCombo, "
     u"TWWDBDateTimePicker"},
    {u"speedbutton", u"TRxSpeedButton, TfrSpeedButton, TfrTBButton"},
    {u"button", u"TRzButton"},
    {u"bitbtn", u"TRzBitbtn, TLMDButton, TcxButton"},
    {u"menubtn", u"TRzMenuButton"},
    {u"CheckGroup", u"TRzCheckGroup, TLMDCheckGroup, TLMDDBCheckGroup"},
    {u"Radiogroup",
     u"TRzRadioGroup, TRzDBRadioGroup, TLMDRADIOGROUP, TLMDDBRADIOGROUP, TWWRADIOGROUP, "
     u"TcxDBRadioGroup, TcxRadioGroup"},
    {u"Radiobutton", u"TRzDBRadioButton, TLMDRadiobutton"},
    {u"Edit",
     u"TRzButtonEdit, TLMDCalculatorEdit, TLMDEDIT, TLMDMASKEDIT, TLMDBROWSEEDIT, TLMDEXTSPINEDIT, "
     u"TLMDCALENDAREDIT, TLMDFILEOPENEDIT, TLMDFILESAVEEDIT, TLMDCOLOREDIT, TLMDDBEDIT, "
     u"TLMDDBMASKEDIT, TLMDDBEXTSPINEDIT, TLMDDBSPINEDIT, TLMDDBEDITDBLookup, TLMDEDITDBLookup, "
     u"TWWDBEDIT, TOVCPICTUREFIELD, TOVCDBPICTUREFIELD, TOVCSLIDEREDIT, TOVCDBSLIDEREDIT, "
     u"TOVCSIMPLEFIELD, TOVCDBSIMPLEFIELD, TO32DBFLEXEDIT, TOVCNUMERICFIELD, TOVCDBNUMERICFIELD"},
    {u"Checkbox", u"TDBCheckboxEh, TLMDCHECKBOX, TLMDDBCHECKBOX"},
    {u"Groupbox", u"TLMDGroupBox, TcxGroupbox"},
};

// Lines that the list carries twice.
const char16_t* const kTwice[] = {u"TDBCheckboxEh", u"TLMDFontSizeCombobox", u"TWWDBCombobox"};

std::u16string Lower(std::u16string s) {
  for (char16_t& c : s)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  return s;
}

std::vector<std::u16string> Expected() {
  std::vector<std::u16string> out;
  for (const Group& g : kGroups) {
    std::u16string list = g.classes;
    size_t pos = 0;
    while (pos <= list.size()) {
      size_t comma = list.find(u',', pos);
      if (comma == std::u16string::npos) comma = list.size();
      std::u16string name = list.substr(pos, comma - pos);
      while (!name.empty() && name.front() == u' ')
        name.erase(0, 1);
      out.push_back(name + u"=" + g.kind);
      for (const char16_t* twice : kTwice)
        if (name == twice) out.push_back(out.back());
      pos = comma + 1;
    }
  }
  return out;
}

std::u16string ClassOf(const std::u16string& line) {
  return line.substr(0, line.find(u'='));
}

TEST(DefaultSkin3rd, HundredAndEighteenLinesInOrder) {
  const std::vector<std::u16string> lines = DefaultSkin3rd();
  const std::vector<std::u16string> expected = Expected();
  ASSERT_EQ(expected.size(), 118u);
  ASSERT_EQ(lines.size(), 118u);
  for (size_t i = 0; i < lines.size(); ++i) {
    // Kind words compare without case for the one class whose kind is written with a capital.
    if (ClassOf(expected[i]) == u"TWWDBCombobox")
      EXPECT_EQ(Lower(lines[i]), Lower(expected[i])) << "line " << i;
    else
      EXPECT_EQ(lines[i], expected[i]) << "line " << i;
  }
}

TEST(DefaultSkin3rd, TheThreeRepeatedLines) {
  const std::vector<std::u16string> lines = DefaultSkin3rd();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), u"TDBCheckboxEh=Checkbox"), 2);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), u"TLMDFontSizeCombobox=combobox"), 2);
  EXPECT_GE(std::count(lines.begin(), lines.end(), u"TWWDBCombobox=Combobox"), 1);
  int wwdb = 0;
  for (const std::u16string& l : lines)
    wwdb += ClassOf(l) == u"TWWDBCombobox";
  EXPECT_EQ(wwdb, 2);
  // Every other class appears once, and every line is "class=kind" with both parts.
  for (const std::u16string& l : lines) {
    const size_t eq = l.find(u'=');
    ASSERT_NE(eq, std::u16string::npos);
    EXPECT_GT(eq, 0u);
    EXPECT_LT(eq + 1, l.size());
    const std::u16string cls = ClassOf(l);
    int n = 0;
    for (const std::u16string& m : lines)
      n += ClassOf(m) == cls;
    const bool repeated = std::any_of(std::begin(kTwice), std::end(kTwice),
                                      [&](const char16_t* t) { return cls == t; });
    EXPECT_EQ(n, repeated ? 2 : 1) << "class " << std::string(cls.begin(), cls.end());
  }
}

}  // namespace
