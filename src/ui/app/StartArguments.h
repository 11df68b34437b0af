#pragma once

#include <QString>
#include <QStringList>

namespace velmora::ui {

// What `velmora [OPTION]... [FOLDER]` asks for, once Qt has taken the options it knows.
struct StartRequest {
    // The folder to load at start: FOLDER, or the folder holding the file named; empty for none.
    QString folder;
    // What is wrong with the arguments, as the program says it; empty when nothing is.
    QString problem;
    // An unknown option or a second path: the program ends at once (exit code 2).
    bool usageError = false;
};

// `arguments` as QCoreApplication::arguments gives them, the program first. A path that does
// not exist loads nothing (not its parent folder), and says so.
StartRequest ParseStartArguments(const QStringList& arguments);

}  // namespace velmora::ui
