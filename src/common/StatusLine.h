#pragma once
// The one text of the main window's status bar: the search status of the shown tab.
#include <QString>

class StatusLine {
public:
    virtual ~StatusLine() = default;
    // Shows `text` exactly as given.
    virtual void setText(const QString &text) = 0;
    virtual QString text() const = 0;
};
