// The trace window's table: one row per step of a run, its record's nine
// fields, every number with all its digits and the window's separator. Rows
// are written only when shown, so 100000 steps cost nothing until scrolled to.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <memory>

#include "SearchTrace.h"

namespace Velmora {

class StepTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit StepTableModel(QString decimalSeparator, QObject* parent = nullptr);

  void setTrace(std::shared_ptr<const Lab::SearchTrace> trace);
  // The column titles, also the header of the table's CSV.
  static const QStringList& titles();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  QString separator_;
  std::shared_ptr<const Lab::SearchTrace> trace_;
};

}  // namespace Velmora
