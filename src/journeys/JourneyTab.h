#pragma once
// The journey page ("mgzavroba"), the fourth page of the left page control: the journeys found
// above a panel with the two ends, "saidan" (from) and "sad" (to), and the search and clear
// buttons; between them a note on what the times rest on. The page only holds the widgets; the
// commands are JourneyCommands'.
#include "widgets/CaptionPanel.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;
class QTreeWidget;

class JourneyTab : public QWidget {
    Q_OBJECT
public:
    explicit JourneyTab(QWidget *parent = nullptr);

    QTreeWidget *JourneyList;   // a journey a row, its legs below it
    QLabel *EstimateLb;         // the times are estimates (and why rough, when they are)
    QLabel *NotesLb;            // what the data lacked, in the database's words
    CaptionPanel *mgzavrobaSearchPn;
    QLineEdit *SaidanEd;
    QLineEdit *SadEd;
    QToolButton *Journey_FilterBtn;
    QToolButton *JourneyClearBtn;

    static constexpr int PanelDesignHeight = 160;
    static constexpr int PanelRestoredHeight = 170;

    void mgzavrobaSearchPnButtonClick(CaptionPanel::Button button);
};
