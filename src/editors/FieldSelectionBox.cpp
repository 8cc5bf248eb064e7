#include "editors/FieldSelectionBox.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>

#include "app/QtText.h"
#include "model/CatforgeDoc.h"

CFieldSelectionBox::CFieldSelectionBox(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    setInsertPolicy(QComboBox::NoInsert);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(12);
}

void CFieldSelectionBox::Fill(const std::vector<std::string>& fieldNames, int selection) {
    clear();
    for (const std::string& name : fieldNames)
        addItem(ToQString(name));
    const bool names = selection >= 0 && selection < count();
    setCurrentIndex(names ? selection : -1);
}

std::vector<std::string> FieldNames(const CCatforgeDoc& doc) {
    std::vector<std::string> names;
    names.reserve(doc.m_aFields.size());
    for (const FieldDefinition& field : doc.m_aFields)
        names.push_back(field.m_strName);
    return names;
}

bool CountRowEnabled(int count, int row, int rows) {
    if (count < 0 || count > rows)
        return true;
    return row < count;
}

bool CountRowsSelected(int count, std::span<const int> selections) {
    if (count < 0 || count > static_cast<int>(selections.size()))
        return false;
    for (int row = 0; row < count; ++row) {
        if (selections[static_cast<std::size_t>(row)] < 0)
            return false;
    }
    return true;
}

QButtonGroup* MakeCountGroup(QGroupBox* frame, QWidget* owner) {
    auto* row = new QHBoxLayout(frame);
    auto* group = new QButtonGroup(owner);
    for (int n = 0; n < 4; ++n) {
        auto* button = new QRadioButton(QStringLiteral("&%1").arg(n), owner);
        button->setObjectName(QStringLiteral("count%1").arg(n));
        group->addButton(button, n);
        row->addWidget(button);
    }
    row->addStretch(1);
    return group;
}
