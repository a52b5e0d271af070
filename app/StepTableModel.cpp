#include "StepTableModel.h"

#include "NumberText.h"

namespace Velmora {

StepTableModel::StepTableModel(QString decimalSeparator, QObject* parent)
    : QAbstractTableModel(parent), separator_(std::move(decimalSeparator)) {}

void StepTableModel::setTrace(std::shared_ptr<const Lab::SearchTrace> trace) {
  beginResetModel();
  trace_ = std::move(trace);
  endResetModel();
}

const QStringList& StepTableModel::titles() {
  static const QStringList names = {
      QStringLiteral("Шаг"),          QStringLiteral("Интервал"),    QStringLiteral("Левый конец"),
      QStringLiteral("Правый конец"), QStringLiteral("Характеристика"), QStringLiteral("Константа"),
      QStringLiteral("Новая точка"),  QStringLiteral("Значение"),    QStringLiteral("Точность"),
  };
  return names;
}

int StepTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !trace_ ? 0 : trace_->stepCount();
}

int StepTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(titles().size());
}

QVariant StepTableModel::data(const QModelIndex& index, int role) const {
  if (!trace_ || !index.isValid()) return {};
  if (role == Qt::TextAlignmentRole) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
  if (role != Qt::DisplayRole) return {};
  const VELMORAALG::TStepRecord& r = trace_->step(index.row() + 1);
  // Every digit: late steps split intervals that only the last digits tell apart.
  const auto number = [&](double value) { return QString::fromStdString(Lab::shortest(value, separator_.toStdString())); };
  switch (index.column()) {
    case 0: return r.Step;
    case 1: return r.Interval;
    case 2: return number(r.Left);
    case 3: return number(r.Right);
    case 4: return number(r.Charact);
    case 5: return number(r.Constant);
    case 6: return number(r.X);
    case 7: return number(r.Z);
    case 8: return number(r.Precision);
  }
  return {};
}

QVariant StepTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= titles().size()) return {};
  return titles()[section];
}

}  // namespace Velmora
