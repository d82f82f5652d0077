#pragma once
// The window with one object's details: logo, name, district, address, telephone, fax, web and
// e-mail addresses and activity, with buttons for the advertising file, printing and closing.
// It only shows values; ObjectDetailCommands fills it and answers its buttons and links.
#include "widgets/TitledDialog.h"

class ActiveLabel;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
struct ObjectDetailsText;

class TObieqtiDetFrm : public TitledDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 438;
    static constexpr int ClientHeight = 457;
    static constexpr QSize MaxLogoSize{410, 55};

    explicit TObieqtiDetFrm(QWidget *parent = nullptr);

    // The web address is both the link's text and the address it opens.
    void setWebsite(const QString &address);
    void setEmail(const QString &address);
    // Shows `logo` at its own size, scaled down proportionally when larger than MaxLogoSize;
    // a null image clears the logo.
    void setLogo(const QImage &logo);
    bool hasLogo() const;

    // The values the window shows, as its controls hold them.
    ObjectDetailsText details() const;

    QLabel *NameText;
    QTabWidget *PageControl;
    QLabel *LogoIm;
    QLabel *RaioniLb;
    QLabel *misamarTiLb;
    QLabel *telefoniLb;
    QLabel *faxLb;
    ActiveLabel *websiteLb;
    ActiveLabel *emailLb;
    QPlainTextEdit *SaqmianobaEd;
    QPushButton *BitBtn3; // "SemoTavazeba": the advertising file
    QPushButton *BitBtn2; // "beWdva": the details into a word-processor document
    QPushButton *BitBtn1; // "daxurva"

private:
    QLabel *addValueLabel(QWidget *page, int x, int y);
    void addSectionHeader(QWidget *page, const QString &text, int y);
};
