#include "widgets/GeorgianInput.h"

#include "common/GeorgianScript.h"

GeorgianInput::GeorgianInput(QObject *parent, std::function<bool(const QString &)> keep)
    : QValidator(parent), m_keep(std::move(keep))
{
}

QValidator::State GeorgianInput::validate(QString &input, int &) const
{
    // Letter for letter, so the cursor stays where it was.
    if (!m_keep || !m_keep(input))
        input = GeorgianScript::toTransliteration(input);
    return Acceptable;
}
