// Shared by the tests of the position, label, size and magnitude dialogs: finding a dialog's
// controls by name, what a person does to them, the members of each group (named alike in the
// dialogs and the document) and a document with a few fields.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>
#include <array>
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

// The verb, name and rest of a step a script names.
inline std::array<std::string, 3> Words(const std::string& step) {
    std::istringstream words(step);
    std::string verb, name, rest;
    words >> verb >> name;
    std::getline(words >> std::ws, rest);
    return {verb, name, rest};
}

// Does "click NAME", "choose NAME ENTRY" or "type NAME TEXT" (the whole text of a line box);
// false for any other verb.
inline bool Do(QWidget& dlg, const std::string& step) {
    const auto [verb, name, rest] = Words(step);
    if (verb == "click")
        Click(dlg, name.c_str());
    else if (verb == "choose")
        Choose(dlg, name.c_str(), std::stoi(rest));
    else if (verb == "type")
        Control<QLineEdit>(dlg, name.c_str())->setText(QString::fromLatin1(rest.c_str()));
    else
        return false;
    return true;
}

// A group's members, in the order they are written as "value|value|...|".
using Members = std::vector<std::variant<int*, std::string*>>;

inline std::string Read(const Members& members) {
    std::string text;
    for (const auto& member : members) {
        if (auto* const* number = std::get_if<int*>(&member))
            text += std::to_string(**number) + "|";
        else
            text += *std::get<std::string*>(member) + "|";
    }
    return text;
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
