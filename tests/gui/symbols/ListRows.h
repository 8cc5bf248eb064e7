// The rows of the symbol and type lists: read back with their item data, and selected.
#pragma once

#include <QTreeWidget>
#include <string>
#include <vector>

// Each row as its first `columns` texts and its item data (the index of its entry), joined
// by '|'.
inline std::vector<std::string> Rows(QTreeWidget& list, int columns) {
    std::vector<std::string> rows;
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list.topLevelItem(i);
        std::string row;
        for (int c = 0; c < columns; ++c)
            row += item->text(c).toStdString() + "|";
        rows.push_back(row + std::to_string(item->data(0, Qt::UserRole).toInt()));
    }
    return rows;
}

inline void Select(QTreeWidget& list, int row) {
    list.clearSelection();
    list.topLevelItem(row)->setSelected(true);
}
