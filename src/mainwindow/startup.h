// Program start: the command line, and the creation of every long-lived
// window in its fixed order.
#pragma once

#include <QString>
#include <QStringList>

namespace qrn {

struct CommandLine {
    QString resources;  // --resources DIR: the resource search folder
    QString file;       // a scenario file to open right after start
    QString error;      // not empty when the arguments are not understood
};

// quorantel [--resources DIR] [FILE.snr]
CommandLine parseCommandLine(const QStringList& arguments);

// Creates the main window and the tool windows, each once, in start-up
// order, and stores each in editor(). Returns their class names in the
// order they were created.
QStringList createWindows();
// Destroys what createWindows made and clears the pointers.
void destroyWindows();

// What the splash hands over once the main window has the focus: read the
// settings, apply the command line, open the file.
void finishStart(const CommandLine& commandLine);

}  // namespace qrn
