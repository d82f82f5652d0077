#pragma once
// Georgian typed on a Georgian keyboard or pasted from elsewhere arrives as Unicode letters, while
// the program's texts are in the transliteration that the display font draws as Georgian. A field
// validated by GeorgianInput turns such letters into the transliteration as they arrive (typed,
// pasted, dropped or set), so the field holds what typing in Latin would have given: its searches,
// its completion and a lookup's key all see the transliteration, and it looks the same on screen.
#include <QValidator>

#include <functional>

class GeorgianInput : public QValidator {
public:
    // A text for which `keep` is true stays as it is: a lookup's own entry may be stored in
    // Georgian letters and must still name that entry.
    explicit GeorgianInput(QObject *parent, std::function<bool(const QString &)> keep = {});

    State validate(QString &input, int &pos) const override;

private:
    std::function<bool(const QString &)> m_keep;
};
