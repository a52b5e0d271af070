#include "SaveFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <qcustomplot.h>

#include "MessageText.h"

namespace Velmora::SaveFile {

namespace {

struct KindInfo {
  Kind kind;
  const char* filter;
  QStringList suffixes;  ///< the first is the one a name gets
};

const KindInfo& info(Kind kind) {
  static const KindInfo kinds[] = {
      {Kind::Png, "PNG (*.png)", {"png"}},
      {Kind::Jpeg, "JPEG (*.jpg *.jpeg)", {"jpg", "jpeg"}},
      {Kind::Pdf, "PDF (*.pdf)", {"pdf"}},
      {Kind::Csv, "CSV (*.csv)", {"csv"}},
  };
  return kinds[static_cast<int>(kind)];
}

// The chosen path and the kind its suffix names; an empty path when cancelled.
std::pair<QString, Kind> choose(Dialogs& dialogs, const QString& caption, std::initializer_list<Kind> kinds) {
  QStringList filters;
  for (Kind kind : kinds) filters << QString::fromLatin1(info(kind).filter);
  QString path = dialogs.chooseSaveFile(caption, filters.join(QStringLiteral(";;")));
  if (path.isEmpty()) return {path, *kinds.begin()};
  const QString suffix = QFileInfo(path).suffix().toLower();
  for (Kind kind : kinds)
    if (info(kind).suffixes.contains(suffix)) return {path, kind};
  return {path + '.' + info(*kinds.begin()).suffixes.front(), *kinds.begin()};
}

void reportUnwritten(Dialogs& dialogs, const QString& path) {
  dialogs.showMessage(QString::fromStdString(Lab::fileNotWrittenMessage(path.toStdString())));
}

}  // namespace

void chart(Dialogs& dialogs, const QString& caption, QCustomPlot& plot, std::initializer_list<Kind> kinds) {
  const auto [path, kind] = choose(dialogs, caption, kinds);
  if (path.isEmpty()) return;
  bool written = false;
  switch (kind) {
    case Kind::Png: written = plot.savePng(path); break;
    case Kind::Jpeg: written = plot.saveJpg(path); break;
    case Kind::Pdf: written = plot.savePdf(path); break;
    case Kind::Csv: break;
  }
  if (!written) reportUnwritten(dialogs, path);
}

void csv(Dialogs& dialogs, const QString& caption, const std::function<std::string()>& content) {
  const QString path = choose(dialogs, caption, {Kind::Csv}).first;
  if (path.isEmpty()) return;
  const std::string text = content();
  QFile file(path);
  const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                       file.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size()) &&
                       file.flush();
  if (!written) reportUnwritten(dialogs, path);
}

}  // namespace Velmora::SaveFile
