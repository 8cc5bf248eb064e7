// Shared by the tests of the position, label, size and magnitude dialogs: finding a dialog's
// controls by name, and a document with a few fields.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QWidget>
#include <string>
#include <vector>

#include "core/model/CatforgeDoc.h"

// The control called name; fails the test when the dialog has none.
template <class T>
T* Control(QWidget& dlg, const char* name) {
    T* control = dlg.findChild<T*>(QString::fromLatin1(name));
    if (!control)
        ADD_FAILURE() << "no control " << name;
    return control;
}

inline bool Enabled(QWidget& dlg, const char* name) {
    return Control<QWidget>(dlg, name)->isEnabled();
}

// Which of the named controls are enabled, in the order given.
inline std::vector<bool> EnabledOf(QWidget& dlg, const std::vector<const char*>& names) {
    std::vector<bool> enabled;
    for (const char* name : names)
        enabled.push_back(Enabled(dlg, name));
    return enabled;
}

inline int Shown(QWidget& dlg, const char* name) {
    return Control<QComboBox>(dlg, name)->currentIndex();
}

inline void Click(QWidget& dlg, const char* name) {
    Control<QAbstractButton>(dlg, name)->click();
}

inline void Choose(QWidget& dlg, const char* name, int entry) {
    Control<QComboBox>(dlg, name)->setCurrentIndex(entry);
}

inline std::vector<std::string> FiveFieldNames() {
    return {"RAh", "RAm", "RAs", "DE-", "DEd"};
}

inline void AddFields(CCatforgeDoc& doc, const std::vector<std::string>& names) {
    int column = 1;
    for (const std::string& name : names) {
        doc.m_aFields.push_back({name, "", column, column + 1});
        column += 3;
    }
}
