#include "widgets/LookupEditor.h"

#include "data/DataSet.h"

#include <QAbstractItemView>
#include <QCompleter>

LookupEditor::LookupEditor(DataSet &dataSet, QString listField, QString keyField, QWidget *parent)
    : QComboBox(parent), m_dataSet(dataSet), m_listField(std::move(listField)), m_keyField(std::move(keyField))
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Names tell letters apart by case, so completion must too.
    if (completer())
        completer()->setCaseSensitivity(Qt::CaseSensitive);
    connect(&m_dataSet, &DataSet::reset, this, &LookupEditor::reload);
    reload();
}

void LookupEditor::setText(const QString &text)
{
    setCurrentIndex(findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    setEditText(text);
}

QString LookupEditor::key() const
{
    const QString shown = text();
    int index = currentIndex();
    if (index < 0 || itemText(index) != shown)
        index = findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive);
    return index < 0 ? QString() : itemData(index).toString();
}

void LookupEditor::hidePopup()
{
    const bool wasVisible = view() && view()->isVisible();
    QComboBox::hidePopup();
    // The drop-down closes before the entry clicked or keyed in it is taken: the close is reported
    // once the pick is in, so that it reads the entry the user has just picked.
    if (wasVisible)
        QMetaObject::invokeMethod(this, &LookupEditor::closeUp, Qt::QueuedConnection);
}

void LookupEditor::reload()
{
    const QString shown = text();
    const QSignalBlocker blocker(this);
    clear();
    const int nameColumn = m_dataSet.isOpen() ? m_dataSet.columnIndex(m_listField) : -1;
    const int keyColumn = m_dataSet.isOpen() ? m_dataSet.columnIndex(m_keyField) : -1;
    if (nameColumn >= 0 && keyColumn >= 0) {
        for (int row = 0; row < m_dataSet.recordCount(); ++row)
            addItem(m_dataSet.valueAt(row, nameColumn).toString(), m_dataSet.valueAt(row, keyColumn));
    }
    setText(shown);
}
