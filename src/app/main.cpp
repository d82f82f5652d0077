#include "app/Application.h"
#include "app/MainFrm.h"
#include "app/WindowFonts.h"
#include "data/DataModule.h"
#include "dialogs/Prompts.h"
#include "platform/Desktop.h"
#include "platform/WordDocument.h"
#include "common/Errors.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFontDatabase>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const QString Title = QStringLiteral("Kvirzeta Tbilisi");

// Plain message boxes for the program's messages.
class BasicPrompts : public Prompts {
public:
    void showMessage(const QString &text) override
    {
        QMessageBox::information(QApplication::activeWindow(), QStringLiteral("Setyobineba"), text);
    }
    bool askYesNo(const QString &text) override
    {
        return QMessageBox::question(QApplication::activeWindow(), QStringLiteral("Setyobineba"), text)
               == QMessageBox::Yes;
    }
    void reportError(const QString &text) override
    {
        QMessageBox::critical(QApplication::activeWindow(), Title, text);
    }
    void standardMessage(const QString &text) override
    {
        QMessageBox box(QMessageBox::NoIcon, Title, text, QMessageBox::Ok);
        box.exec();
    }
};

// The desktop's own handlers for files, links and mail.
class BasicDesktop : public Desktop {
public:
    void openFile(const QString &path) override { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }
    void openLink(const QString &address) override { QDesktopServices::openUrl(QUrl(address)); }
    void sendMail(const QString &address) override
    {
        if (address.isEmpty() || !QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + address)))
            throw Error(QStringLiteral("The mail client could not be started"));
    }
    std::unique_ptr<WordDocument> connectWordProcessor() override { return nullptr; }
};

// The splash window: borderless, centred, closed by its timer after ten seconds.
void showSplash()
{
    QDialog splash(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
    splash.setFixedSize(420, 367);
    QPalette palette = splash.palette();
    palette.setColor(QPalette::Window, QColor(240, 251, 255));
    splash.setPalette(palette);
    auto *layout = new QVBoxLayout(&splash);
    auto *name = new QLabel(QStringLiteral("kvirzeta"), &splash);
    name->setFont(WindowFonts::pixels(40, true));
    name->setAlignment(Qt::AlignCenter);
    layout->addWidget(name);
    if (const QScreen *screen = splash.screen())
        splash.move(screen->availableGeometry().center() - splash.rect().center());
    QTimer::singleShot(10000, &splash, &QDialog::accept);
    splash.exec();
}

void registerDisplayFont()
{
    for (const QString &file : {QStringLiteral(":/Kolhety.ttf"), QStringLiteral(":/Kolhety-Bold.ttf")})
        QFontDatabase::addApplicationFont(file);
}

} // namespace

int main(int argc, char **argv)
{
    Application app(argc, argv);
    QApplication::setApplicationName(Title);
    registerDisplayFont();

    BasicPrompts prompts;
    BasicDesktop desktop;
    app.setErrorReport(&prompts);

    DataModule DM1;
    TMainFrm MainFrm(DM1, prompts, desktop, showSplash);
    // Shown from inside the event loop, so that closing the window at its first activation
    // (after a failed connection) ends the loop.
    QTimer::singleShot(0, &MainFrm, &QWidget::show);
    return app.exec();
}
