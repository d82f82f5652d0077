#pragma once
// The commands that open the focused object's details window and its advertising file, and the
// handlers of the details window: advertising file, printing, the web link and the e-mail.
#include "common/CommandRunner.h"

class DataModule;
class Desktop;
class QWidget;
class TObieqtiDetFrm;

class ObjectDetailCommands {
public:
    // The details window is centred on `parentWindow` (the main window).
    ObjectDetailCommands(DataModule &dm, Prompts &prompts, Desktop &desktop, QWidget *parentWindow);

    // Shows the details of the object list's focused object in a modal window; nothing happens
    // when the list has no focused object.
    void ObjDetailAcExecute();
    // Opens the focused object's advertising file.
    void ReaklamaAcExecute();

    // Fills `window` with the focused object's values and wires its buttons and links, each
    // handler running inside the default error report.
    void fillWindow(TObieqtiDetFrm &window);
    void connectWindow(TObieqtiDetFrm &window);

    void BitBtn2Click(const TObieqtiDetFrm &window);
    void emailLbDblClick(const TObieqtiDetFrm &window);
    // Hands the shown web address to the desktop; an address that is not an http or https page
    // is refused with an error.
    void websiteLbClick(const TObieqtiDetFrm &window);

private:
    bool hasFocusedObject() const;
    QString districtName(const QVariant &districtKey);
    void showLogo(TObieqtiDetFrm &window);

    DataModule &m_dm;
    Prompts &m_prompts;
    Desktop &m_desktop;
    QWidget *m_parentWindow;
    // The details window's own handlers run while the window is modal, outside the main
    // window's routing.
    CommandRunner m_runner;
};
