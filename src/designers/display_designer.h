#pragma once
// The display page designer without its window: pages, their objects and the objects' saved fields.
#include <array>
#include <string>
#include <string_view>

#include "core/designer_data.h"
#include "designers/designer_edits.h"

constexpr int DisplayObjectFields = 20;

class DisplayDesigner {
  public:
    DisplayDesigner(DisplayPageArray& pages, int16_t& modified, UserDialogs& dialogs)
        : pages_(pages), edits_{modified, dialogs} {}

    // The 20 saved fields of an object, in the order the project file holds them.
    static const std::array<RecordField<DisplayObject>, DisplayObjectFields>& fields();

    int pageCount() const { return std::min<int>(pages_.Count, MaxDisplayPages); }
    int objectCount(int page) const;
    DisplayObject& object(int page, int o) { return pages_.Pages[size_t(page)].Objects[size_t(o)]; }
    std::string objectLine(int page, int o) const;

    // Each returns the page or object to select afterwards; -1 when refused (with a message).
    int addPage();
    int removePage(int page);
    int addObject(int page);
    int removeObject(int page, int o);
    int moveObject(int page, int o, int step);

    // Stores text into field f of object o; false, with a message and the object unchanged, when refused.
    bool setField(int page, int o, int f, std::string_view caption, std::string_view text);

  private:
    bool validPage(int page) const { return page >= 0 && page < pageCount(); }
    bool validObject(int page, int o) const { return validPage(page) && o >= 1 && o <= objectCount(page); }
    DisplayPageArray& pages_;
    DesignerEdits edits_;
};
