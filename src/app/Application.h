#pragma once
// The application object. Its event delivery is the last safety net of the default error report:
// an exception that a handler let escape is reported and the program goes on, so no exception
// ever crosses the event loop.
#include <QApplication>

class Prompts;

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int &argc, char **argv);

    // Where escaped errors are reported; until it is set they are written to the log.
    void setErrorReport(Prompts *prompts) { m_prompts = prompts; }

    bool notify(QObject *receiver, QEvent *event) override;

private:
    void report(const QString &text);

    Prompts *m_prompts = nullptr;
};
