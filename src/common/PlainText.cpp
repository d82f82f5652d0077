#include "common/PlainText.h"

#include <QTextDocument>

QString PlainText::forAutoText(const QString &text)
{
    return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpacePre) : text;
}
