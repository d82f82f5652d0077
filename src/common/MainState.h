#pragma once
// State kept beside the main window and shared by the commands of every tab.
#include <QString>

struct MainState {
    // Start-up state: "0" connected, "2" after a failed connection (the program then ends).
    QString KeyLb;
    // Last answer of the yes/no window: "1" yes, "0" no.
    QString DlgMessageLb = QStringLiteral("0");

    // The map now shown: "Tbilisi" or the sheet code; base size of its raster in pixels.
    QString CurrentMapName;
    int WLb = 0;
    int HLb = 0;

    // WHERE fragments of the three searches and their status-bar texts.
    QString ObjectFilter;
    QString StreetFilter;
    QString TransportFilter;
    QString ObjectSearchStatus;
    QString StreetSearchStatus;
    QString TransportSearchStatus;

    // Row last expanded by each list's group command; -1 means none yet.
    int ObjectGroupRow = 0;
    int StreetGroupRow = 0;
    int TransportGroupRow = 0;
};
