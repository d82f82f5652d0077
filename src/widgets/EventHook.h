#pragma once
// Calls a function for every event of one type that a widget receives, without subclassing the
// widget. The event goes on to the widget afterwards.
#include <QEvent>
#include <QObject>
#include <functional>

class EventHook : public QObject {
    Q_OBJECT
public:
    using Callback = std::function<void(QEvent *)>;

    // The hook is a child of `watched` and lives as long as it.
    static EventHook *install(QObject *watched, QEvent::Type type, Callback callback);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    EventHook(QObject *watched, QEvent::Type type, Callback callback);

    QEvent::Type m_type;
    Callback m_callback;
};
