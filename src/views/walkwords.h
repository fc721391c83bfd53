// What the walk preview says about each outcome of a walk, in the words the
// author sees: a line for the log and, for comments, shops and the ending, a
// page for the message box.
#pragma once

#include <QString>
#include <QStringList>

#include "scenario/walk.h"

namespace qrn {

struct WalkAnnouncement {
    QString log;       // one line for the log, never empty
    QStringList page;  // lines for the message box, or none
};

WalkAnnouncement announceOutcome(const Scenario& s, const WalkOutcome& o);

// The lines a comment shows: its four stored lines, each split at its own
// line breaks, without the empty lines at the end.
QStringList commentLines(const Scenario& s, int comment);

// Names as the status line and the log give them ("アイテム 5" for an
// unnamed one).
QString walkItemName(const Scenario& s, int item);
QString walkFieldName(const Scenario& s, int field);
// "Ｘ：5 Ｙ：2" for column 4, row 1, as the location picker writes it.
QString walkCellText(int col, int row);

}  // namespace qrn
