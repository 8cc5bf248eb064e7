// Text boxes whose contents go into the document's 8-bit strings: refuses characters that
// have no Latin-1 byte, and optionally turns letters into upper case as they are typed.
#pragma once

#include <QValidator>

class CLatin1Validator : public QValidator {
    Q_OBJECT
public:
    explicit CLatin1Validator(bool upperCase, QObject* parent = nullptr);

    State validate(QString& input, int& pos) const override;

    // The text with every letter whose capital is a Latin-1 character made upper case.
    static QString UpperCaseLatin1(const QString& text);

private:
    bool m_bUpperCase;
};
