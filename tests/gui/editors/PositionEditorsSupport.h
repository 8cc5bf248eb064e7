// Shared by the tests of the position, label, size and magnitude dialogs: finding a dialog's
// controls by name, what a person does to them, the members of each group (named alike in the
// dialogs and the document) and a document with a few fields.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <locale>
#include <sstream>
#include <string>
#include <variant>
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

inline void Click(QWidget& dlg, const char* name) {
    Control<QAbstractButton>(dlg, name)->click();
}

inline void Choose(QWidget& dlg, const char* name, int entry) {
    Control<QComboBox>(dlg, name)->setCurrentIndex(entry);
}

// One step of a person working a dialog: "click NAME", "choose NAME ENTRY", "type NAME TEXT"
// (the whole text of a line box), "keys NAME UTF-8 TEXT" (typed key by key, as a keyboard
// would), "ok" (accepted) or "refused" (OK pressed, the dialog stays open); or a look at it:
// "label NAME TEXT", "text NAME TEXT" (what a line box holds) and "enabled PATTERN" (x enabled,
// . disabled, over the boxes given).
inline void Do(QDialog& dlg, const std::string& step, const std::vector<const char*>& boxes = {}) {
    SCOPED_TRACE(step);
    std::istringstream words(step);
    std::string verb, name, rest;
    words >> verb >> name;
    std::getline(words >> std::ws, rest);
    if (verb == "click") {
        Click(dlg, name.c_str());
    } else if (verb == "choose") {
        Choose(dlg, name.c_str(), std::stoi(rest));
    } else if (verb == "type") {
        Control<QLineEdit>(dlg, name.c_str())->setText(QString::fromLatin1(rest.c_str()));
    } else if (verb == "keys") {
        for (const QChar c : QString::fromUtf8(rest.c_str())) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(Control<QWidget>(dlg, name.c_str()), &press);
        }
    } else if (verb == "ok" || verb == "refused") {
        Click(dlg, "ok");
        EXPECT_EQ(dlg.result(), verb == "ok" ? QDialog::Accepted : QDialog::Rejected);
    } else if (verb == "label") {
        EXPECT_EQ(Control<QLabel>(dlg, name.c_str())->text().toStdString(), rest);
    } else if (verb == "text") {
        EXPECT_EQ(Control<QLineEdit>(dlg, name.c_str())->text().toLatin1().toStdString(), rest);
    } else {
        ASSERT_EQ(verb, "enabled");
        std::string pattern;
        for (const char* box : boxes)
            pattern += Control<QWidget>(dlg, box)->isEnabled() ? 'x' : '.';
        EXPECT_EQ(pattern, name);
    }
}

// A group's members, in the order they are written as "value|value|...|".
using Members = std::vector<std::variant<int*, std::string*>>;

inline std::string Read(const Members& members) {
    std::ostringstream text;
    text.imbue(std::locale::classic());
    for (const auto& member : members)
        std::visit([&](auto* value) { text << *value << '|'; }, member);
    return text.str();
}

inline void Write(const Members& members, const std::string& values) {
    std::istringstream in(values);
    for (const auto& member : members) {
        std::string value;
        std::getline(in, value, '|');
        if (auto* const* number = std::get_if<int*>(&member))
            **number = std::stoi(value);
        else
            *std::get<std::string*>(member) = value;
    }
}

template <class T>
Members RaDecMembers(T& d) {
    return {&d.m_strEpoch,         &d.m_nRaNotation,     &d.m_nDecNotation,  &d.m_nRaHoursField,
            &d.m_nRaMinutesField,  &d.m_nRaSecondsField, &d.m_nDecSignField, &d.m_nDecDegreesField,
            &d.m_nDecMinutesField, &d.m_nDecSecondsField};
}
template <class T>
Members LabelMembers(T& d) {
    auto& [f1, f2, f3] = d.m_anLabelField;
    auto& [p1, p2, p3] = d.m_astrLabelPrefix;
    return {&d.m_nLabelCount, &f1, &f2, &f3, &p1, &p2, &p3};
}
template <class T>
Members MagnitudeMembers(T& d) {
    auto& [f1, f2, f3] = d.m_anMagnitudeField;
    return {&d.m_nMagnitudeCount, &f1, &f2, &f3};
}
template <class T>
Members SizeMembers(T& d) {
    return {&d.m_nSizeFields,        &d.m_nSizeUnits,      &d.m_nSizeMeaning,
            &d.m_nMajorAxisField,    &d.m_nMinorAxisField, &d.m_bPositionAngle,
            &d.m_nPositionAngleField};
}

inline void AddFields(CCatforgeDoc& doc, const std::vector<std::string>& names) {
    int column = 1;
    for (const std::string& name : names) {
        doc.m_aFields.push_back({name, "", column, column + 1});
        column += 3;
    }
}
