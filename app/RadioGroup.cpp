#include "RadioGroup.h"

#include <QVBoxLayout>

namespace Velmora {

TRadioGroup::TRadioGroup(const QString& name, const QString& caption, const QStringList& items,
                         QWidget* parent)
    : QGroupBox(caption, parent) {
  setObjectName(name);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 4, 8, 4);
  layout->setSpacing(0);
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], this);
    button->setObjectName(QStringLiteral("%1_%2").arg(objectName()).arg(i));
    buttons_.addButton(button, i);
    layout->addWidget(button);
    items_.push_back(button);
  }
  connect(&buttons_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
    if (checked) emit itemIndexChanged(id);
  });
}

void TRadioGroup::setItemIndex(int index) { items_.at(index)->setChecked(true); }

}  // namespace Velmora
