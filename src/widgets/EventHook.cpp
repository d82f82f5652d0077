#include "widgets/EventHook.h"

EventHook::EventHook(QObject *watched, QEvent::Type type, Callback callback)
    : QObject(watched), m_type(type), m_callback(std::move(callback))
{
    watched->installEventFilter(this);
}

EventHook *EventHook::install(QObject *watched, QEvent::Type type, Callback callback)
{
    return new EventHook(watched, type, std::move(callback));
}

bool EventHook::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parent() && event->type() == m_type)
        m_callback(event);
    return false;
}
