#pragma once
// One zorvtrim-cli run: the subcommand named first in `arguments`, without the program's name.
// Returns the exit status. Needs a QCoreApplication named as the window is (its settings, its
// history), which main() makes; a test may call it again in the same process.
#include <QStringList>

namespace zorv::cli {

int Run(const QStringList& arguments);

}  // namespace zorv::cli
