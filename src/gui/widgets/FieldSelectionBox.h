// The field selection box: a drop-down list of the field names in field-index order, with no
// blank entry, so entry k stands for field k. A stored selection is shown when it names an
// entry; -1 or an index past the list shows no selection. Reading gives the selected entry's
// index, or -1 when nothing is selected.
#pragma once

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <span>
#include <string>
#include <vector>

#include "core/editing/DialogRules.h"

class CFieldSelectionBox : public QComboBox {
    Q_OBJECT
public:
    explicit CFieldSelectionBox(QWidget* parent = nullptr);

    void Fill(const std::vector<std::string>& fieldNames, int selection);
    int Selection() const { return currentIndex(); }
};

// Fills frame with the count group's radio buttons "0" to "3" in a row (ids 0..3, object
// names count0..count3) and returns the group, owned by owner.
class QGroupBox;
QButtonGroup* MakeCountGroup(QGroupBox* frame, QWidget* owner);

// Reads a radio group into value: the checked button's id. With no button checked (the value
// was outside the group's range when the dialog opened) the value is kept as it was.
inline void ReadRadio(const QButtonGroup* group, int& value) {
    const int id = group->checkedId();
    if (id >= 0)
        value = id;
}

// Checks the button of a radio group whose id is value; a value outside the group checks none.
inline void WriteRadio(QButtonGroup* group, int value) {
    if (QAbstractButton* button = group->button(value))
        button->setChecked(true);
}
