#pragma once
// An editable drop-down over a data set: it lists one column of every record (the names) and
// yields another column (the key) of the entry whose name is the text shown. The user may pick
// an entry or type freely; the list follows the data set whenever it is reopened, and the text
// shown is kept across such reloads.
#include <QComboBox>

#include <optional>

class DataSet;

class LookupEditor : public QComboBox {
    Q_OBJECT
public:
    LookupEditor(DataSet &dataSet, QString listField, QString keyField, QWidget *parent = nullptr);

    // The text shown; the editor counts as filled when it is not empty (nothing is trimmed).
    QString text() const { return currentText(); }
    void setText(const QString &text);
    bool isFilled() const { return !text().isEmpty(); }

    // The key of the entry the text names, as decimal text: the entry picked from the list when
    // its name is still the text shown, otherwise the first entry of that exact name. When the
    // text names no entry (typed by hand, or left over from an earlier list) the key is empty.
    QString key() const;
    // The key while the editor is filled, unset while it is empty: a search's lookup criterion.
    std::optional<QString> filledKey() const
    {
        return isFilled() ? std::optional<QString>(key()) : std::nullopt;
    }

    void hidePopup() override;

Q_SIGNALS:
    // The drop-down list has closed (by a pick, Esc or a click elsewhere); reported from the event
    // loop once a pick has been taken.
    void closeUp();

private:
    void reload();

    DataSet &m_dataSet;
    QString m_listField;
    QString m_keyField;
};
