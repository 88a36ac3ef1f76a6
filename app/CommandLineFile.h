#pragma once
// A switch file named on the command line: what a double-click on a .joy file (or "Open with")
// starts the tool with. It opens as File > Open would, after the start-up.
#include <QString>
#include <QStringList>

namespace zorv {

class PageHost;

// The file among the program's arguments (the program itself first, as QCoreApplication
// gives them): the first that is not an option; anything after "--" counts as a file.
// "" when there is none.
QString SwitchFileArgument(const QStringList& arguments);

// Opens `fileName` into the window's image; a file that cannot be read is shown as File > Open
// shows it and leaves the image as it was.
void OpenSwitchFileArgument(PageHost& host, const QString& fileName);

}  // namespace zorv
