#include "gui/widgets/FieldSelectionBox.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>

#include "core/model/CatforgeDoc.h"
#include "gui/widgets/QtText.h"

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

QButtonGroup* MakeCountGroup(QGroupBox* frame, QWidget* owner) {
    auto* row = new QHBoxLayout(frame);
    auto* group = new QButtonGroup(owner);
    for (int n = 0; n < 4; ++n) {
        auto* button = new QRadioButton(QString::number(n), owner);
        button->setObjectName(QStringLiteral("count%1").arg(n));
        group->addButton(button, n);
        row->addWidget(button);
    }
    row->addStretch(1);
    return group;
}
