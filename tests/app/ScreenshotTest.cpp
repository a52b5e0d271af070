// Pictures of the window for a person to look at: at start, and after Update
// of each sample formula. They are written to the build folder.
#include <QDir>

#include "FunctionChart.h"
#include "WindowFixture.h"

namespace Velmora::Testing {
namespace {

using Screenshot = WindowTest;

void save(TMainForm& form, const QString& name) {
  QDir().mkpath(QStringLiteral(VELMORA_SCREENSHOT_DIR));
  FunctionChart::refresh(*form.chartFunc);
  const QPixmap shot = form.grab();
  EXPECT_EQ(shot.size(), QSize(679, 430));
  EXPECT_TRUE(shot.save(QStringLiteral(VELMORA_SCREENSHOT_DIR "/%1.png").arg(name))) << name.toStdString();
}

TEST_F(Screenshot, windowAtStartAndAfterEachSample) {
  form->show();
  save(*form, QStringLiteral("window-start"));
  for (int i = 0; i < 6; ++i) {
    form->combFuncList->setCurrentIndex(i);
    form->bbtnUpdateFuncClick();
    ASSERT_EQ(form->Series1->data()->size(), 500);
    save(*form, QStringLiteral("window-sample%1").arg(i + 1));
  }
  EXPECT_TRUE(dialogs.boxes.empty());

  form->spinParamCount->setValue(3);
  form->btnRandParamClick();
  form->edFuncExpr->setText(QStringLiteral("x[1]*x[0]^2 + sin(x[2]*x[0]) + x[3] +"));
  save(*form, QStringLiteral("window-parameters-and-error"));
}

}  // namespace
}  // namespace Velmora::Testing
