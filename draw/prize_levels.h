#pragma once

#include <QString>
#include <array>

// What sets the three prize levels apart; the draw itself is one procedure for all three.
struct PrizeLevel
{
    int flag;                  // the value of nflag while the level is drawn: 3, 2 or 1
    QString name;              // the button's caption when idle
    QString buttonName;        // Command2, Command3, Command4
    int prizeField;            // the prize-name field of the prize settings: Text11, Text10, Text9
    QString announcement;      // Label8 during a roll
    QString logStart;          // start of the log line and of the round heading on stage
    QString marker;            // in the results file
    bool stopsWaitingTune;     // at every click
    bool resetsWinnersFont;    // Label2 back to 52 points at a start
    bool showsResultsNotice;   // Label6 and Label7 at every stop
    bool endsEvent;            // closes the results file and scrolls it after the last round
    std::array<int, 2> others; // the other two levels' flags, in the order handled
};

// The level for nflag 1, 2 or 3.
const PrizeLevel &prizeLevel(int flag);

// The stage's heading over a stopped round ("三等奖第 2 次抽奖结果") or its redraw ("…
// 次补抽结果").
QString roundHeading(const PrizeLevel &level, int round, bool redraw);
