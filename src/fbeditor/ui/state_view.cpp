#include "fbeditor/ui/state_view.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include "fbeditor/editor_state.h"

namespace {

bool sameItems(const QComboBox& box, const ComboBox& state) {
    if (box.count() != static_cast<int>(state.Items.size())) return false;
    for (int j = 0; j < box.count(); ++j) {
        const ListEntry& e = state.Items[static_cast<size_t>(j)];
        if (box.itemText(j) != latin1(e.Text) || box.itemData(j).toInt() != e.Data) return false;
    }
    return true;
}

} // namespace

void drawCombo(QComboBox& box, const ComboBox& state) {
    const QSignalBlocker block(box);
    if (!sameItems(box, state)) {
        box.clear();
        for (const ListEntry& e : state.Items)
            box.addItem(latin1(e.Text), e.Data);
    }
    box.setCurrentIndex(state.Selected);
    if (box.isEditable()) {
        if (box.currentText() != latin1(state.Text)) box.setEditText(latin1(state.Text));
        box.lineEdit()->setReadOnly(state.Locked);
    }
}
