#include "gui/widgets/Latin1Validator.h"

CLatin1Validator::CLatin1Validator(bool upperCase, QObject* parent)
    : QValidator(parent), m_bUpperCase(upperCase) {}

QValidator::State CLatin1Validator::validate(QString& input, int&) const {
    for (const QChar c : input) {
        if (c.unicode() > 0xFF)
            return Invalid;
    }
    if (m_bUpperCase)
        input = UpperCaseLatin1(input);
    return Acceptable;
}

QString CLatin1Validator::UpperCaseLatin1(const QString& text) {
    QString upper = text;
    for (QChar& c : upper) {
        const QChar capital = c.toUpper();
        // Some small letters (y with diaeresis, micro sign) have capitals outside Latin-1.
        if (capital.unicode() <= 0xFF)
            c = capital;
    }
    return upper;
}
