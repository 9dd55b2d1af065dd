// Counts of the GUI objects the process holds, for leak checks. The system's own counters
// (GetGuiResources) read 0 under Wine, so there the objects are found by probing: Wine
// accepts a GDI or menu handle given by its low 16 bits alone, so trying every such value
// finds every live object.
#pragma once

namespace lbb::forms::test {

struct GuiObjects {
  int gdi = 0;      // fonts, brushes, pens, bitmaps, regions, device contexts...
  int user = 0;     // menus (probed) or every USER object (the system's counter)
  int windows = 0;  // windows of this thread, children included
};

GuiObjects CountGuiObjects();

}  // namespace lbb::forms::test
