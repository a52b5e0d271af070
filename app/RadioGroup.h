// A framed group of radio buttons in one column, one of them selected.
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QStringList>
#include <vector>

namespace Velmora {

class TRadioGroup : public QGroupBox {
  Q_OBJECT
 public:
  // The items are named name_0, name_1, ... for tests and accessibility tools.
  TRadioGroup(const QString& name, const QString& caption, const QStringList& items, QWidget* parent);

  int itemIndex() const { return buttons_.checkedId(); }
  void setItemIndex(int index);
  QRadioButton* item(int index) const { return items_.at(index); }
  int count() const { return static_cast<int>(items_.size()); }

 signals:
  // The selected item changed, by mouse or keyboard; a click on the selected item is no change.
  void itemIndexChanged(int index);

 private:
  QButtonGroup buttons_;
  std::vector<QRadioButton*> items_;
};

}  // namespace Velmora
