// Saving a chart or a table to a file the user chooses through the dialogs.
// The kind of file follows the name's suffix; a name without one of the
// offered suffixes gets the first, so a typed "graph" becomes "graph.png".
#pragma once

#include <QString>
#include <functional>
#include <initializer_list>
#include <string>

#include "Dialogs.h"

class QCustomPlot;

namespace Velmora::SaveFile {

enum class Kind { Png, Jpeg, Pdf, Csv };

// Asks, then draws the chart into the file at its size on screen. Says so
// through the dialogs when the file cannot be written; nothing when the user cancels.
void chart(Dialogs& dialogs, const QString& caption, QCustomPlot& plot, std::initializer_list<Kind> kinds);

// Asks, then writes the text that content makes (only once a file is chosen).
void csv(Dialogs& dialogs, const QString& caption, const std::function<std::string()>& content);

}  // namespace Velmora::SaveFile
