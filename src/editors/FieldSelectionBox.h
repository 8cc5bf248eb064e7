// The field selection box: a drop-down list of the field names in field-index order, with no
// blank entry, so entry k stands for field k. A stored selection is shown when it names an
// entry; -1 or an index past the list shows no selection. Reading gives the selected entry's
// index, or -1 when nothing is selected.
#pragma once

#include <QComboBox>
#include <string>
#include <vector>

class CFieldSelectionBox : public QComboBox {
    Q_OBJECT
public:
    explicit CFieldSelectionBox(QWidget* parent = nullptr);

    void Fill(const std::vector<std::string>& fieldNames, int selection);
    int Selection() const { return currentIndex(); }
};

// The names of the fields, in list order, as the selection boxes show them.
class CCatforgeDoc;
std::vector<std::string> FieldNames(const CCatforgeDoc& doc);
