#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <tuple>

#include "FunctionChart.h"
#include "RadioGroup.h"
#include "Scan_opt.h"
#include "WindowFixture.h"

namespace Velmora::Testing {
namespace {

using StartUp = WindowTest;

const char* const controlNames[] = {
    "gbOptFunc", "labFunc", "labErrors", "Label1", "bevSpacer", "Label2", "edFuncExpr", "edFuncErrors",
    "bbtnUpdateFunc", "spinParamCount", "strgParams", "combFuncList", "btnRandParam", "gbFuncView", "chartFunc",
    "Shape1", "Label3", "Shape2", "Label4", "gbInterval", "labXmin", "labArrow", "labXmax", "edXmin", "edXmax",
    "radgrSearchMet", "grbMetParams", "rbtnStepStop", "rbtnPrecStop", "spedSteps", "edPrecision", "edMetParam",
    "labMetParam", "GroupBox1", "labGlobMin", "labMade", "edGlobMin", "edMadeParam", "bbtnSearchMin",
    "bbtnProgramInfo"};

TEST_F(StartUp, everyControlCanBeFoundByItsName) {
  for (const char* name : controlNames)
    EXPECT_NE(form->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
}

TEST_F(StartUp, windowIsFixedAndCaptioned) {
  EXPECT_EQ(form->windowTitle(), "Velmora");
  EXPECT_EQ(form->size(), QSize(679, 430));
  EXPECT_EQ(form->minimumSize(), form->maximumSize());
  const auto flags = form->windowFlags();
  EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
}

TEST_F(StartUp, windowStateIsFresh) {
  EXPECT_FALSE(form->funcCorrect);
  EXPECT_FALSE(form->dataCorrect);
  EXPECT_EQ(form->paramCount, 0);
  for (double v : form->vars) EXPECT_EQ(v, 0.0);
  EXPECT_EQ(form->funcParser.Root, nullptr);
  ASSERT_NE(form->currentMethod, nullptr);
  EXPECT_NE(dynamic_cast<VELMORAALG::TScanOpt*>(form->currentMethod.get()), nullptr);
  EXPECT_TRUE(form->currentMethod->GetTrials().empty());
}

TEST_F(StartUp, upperGroupIsEmptyWithUpdateAndSearchDisabled) {
  EXPECT_EQ(form->edFuncExpr->text(), "");
  EXPECT_EQ(form->edFuncErrors->text(), "Expression is not entered");
  EXPECT_TRUE(form->edFuncErrors->isReadOnly());
  EXPECT_FALSE(form->bbtnUpdateFunc->isEnabled());
  EXPECT_FALSE(form->bbtnSearchMin->isEnabled());
  EXPECT_EQ(form->combFuncList->currentText(), QString::fromUtf8("Функция не выбрана"));
  EXPECT_EQ(form->combFuncList->currentIndex(), -1);
  ASSERT_EQ(form->combFuncList->count(), 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(form->combFuncList->itemText(i), SampleFormulas[i]);
  EXPECT_EQ(form->spinParamCount->value(), 0);
  EXPECT_EQ(form->spinParamCount->minimum(), 0);
  EXPECT_EQ(form->spinParamCount->maximum(), 9);
  EXPECT_EQ(form->strgParams->columnCount(), 1);
  EXPECT_EQ(form->strgParams->rowCount(), 1);
  EXPECT_EQ(header(0), "");
  EXPECT_EQ(cell(0), "");
  EXPECT_FALSE(form->strgParams->isEnabled());
  EXPECT_TRUE(form->btnRandParam->isEnabled());
}

TEST_F(StartUp, lowerLeftHoldsTheDefaults) {
  EXPECT_EQ(form->edXmin->text(), "-10");
  EXPECT_EQ(form->edXmax->text(), "+10");
  EXPECT_EQ(form->radgrSearchMet->itemIndex(), 0);
  ASSERT_EQ(form->radgrSearchMet->count(), 3);
  EXPECT_EQ(form->radgrSearchMet->item(2)->text(), QString::fromUtf8("Инф.-статистический  метод (Стронгина);"));
  EXPECT_TRUE(form->rbtnStepStop->isChecked());
  EXPECT_FALSE(form->rbtnPrecStop->isChecked());
  EXPECT_TRUE(form->spedSteps->isEnabled());
  EXPECT_EQ(form->spedSteps->value(), 100);
  EXPECT_EQ(form->spedSteps->minimum(), 1);
  EXPECT_EQ(form->spedSteps->maximum(), 100000);
  EXPECT_EQ(form->edPrecision->text(), "0,1");
  EXPECT_FALSE(form->edPrecision->isEnabled());
  EXPECT_EQ(form->edMetParam->text(), "1,5");
  EXPECT_FALSE(form->edMetParam->isEnabled());
  EXPECT_FALSE(form->labMetParam->isEnabled());
  EXPECT_EQ(form->labMetParam->text(), QString::fromUtf8("Оценка Константы Липщица:------------>"));
  EXPECT_EQ(form->labMade->text(), QString::fromUtf8("Достигнутая точность:"));
  EXPECT_EQ(form->edGlobMin->text(), "");
  EXPECT_EQ(form->edMadeParam->text(), "");
  EXPECT_TRUE(form->edGlobMin->isReadOnly());
  EXPECT_TRUE(form->edMadeParam->isReadOnly());
  EXPECT_EQ(form->bbtnProgramInfo->text(), "  About programm...");
  EXPECT_TRUE(form->bbtnProgramInfo->isEnabled());
}

TEST_F(StartUp, chartIsEmptyWithItsTwoSeries) {
  ASSERT_EQ(form->chartFunc->graphCount(), 2);
  EXPECT_EQ(form->chartFunc->graph(0), form->Series1);
  EXPECT_EQ(form->chartFunc->graph(1), form->Series2);
  EXPECT_TRUE(form->Series1->data()->isEmpty());
  EXPECT_TRUE(form->Series2->data()->isEmpty());
  EXPECT_FALSE(form->chartFunc->legend->visible());
  EXPECT_EQ(form->Series1->pen().color(), QColor(Qt::blue));
  EXPECT_EQ(form->Series1->scatterStyle().shape(), QCPScatterStyle::ssNone);
  EXPECT_EQ(form->Series2->lineStyle(), QCPGraph::lsNone);
  EXPECT_EQ(form->Series2->scatterStyle().shape(), QCPScatterStyle::ssDiamond);
  EXPECT_EQ(form->Series2->scatterStyle().pen().color(), QColor(128, 0, 64));
  EXPECT_EQ(form->Series2->scatterStyle().brush().color(), QColor(Qt::red));
  EXPECT_EQ(form->Series2->scatterStyle().size(), 4.0);
}

TEST_F(StartUp, hintsAreTheRussianTexts) {
  const struct {
    QWidget* w;
    const char* hint;
  } cases[] = {
      {form->edFuncExpr, "Введите математическое выражение функции"},
      {form->edFuncErrors, "Ошибки ввода математического выражения"},
      {form->bbtnUpdateFunc, "Принять изменеия функции"},
      {form->spinParamCount, "Количество параметров функции"},
      {form->strgParams, "Значения параметров функции"},
      {form->combFuncList, "Выберите функцию из списка"},
      {form->btnRandParam, "Случайные значения параметров из отрезка (-1, 1)"},
      {form->edXmin, "Введите начало отрезка поиска"},
      {form->edXmax, "Введите конец отрезка поиска"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.w->toolTip(), QString::fromUtf8(c.hint)) << c.w->objectName().toStdString();
  EXPECT_EQ(form->bbtnSearchMin->toolTip(), "");
}

TEST_F(StartUp, fontsAreBoldWhereTheFormSaysSo) {
  EXPECT_TRUE(form->gbOptFunc->font().bold());
  EXPECT_TRUE(form->gbOptFunc->font().underline());
  EXPECT_TRUE(form->edFuncExpr->font().bold());
  EXPECT_FALSE(form->edFuncExpr->font().underline()) << "the group's underline must not pass to its contents";
  EXPECT_FALSE(form->strgParams->font().bold());
  EXPECT_FALSE(form->Label3->font().bold());
  EXPECT_TRUE(form->rbtnPrecStop->font().bold());
  EXPECT_EQ(form->font().pixelSize(), 11);
  EXPECT_EQ(QFontInfo(form->font()).family(), "Liberation Sans") << "the stand-in for MS Sans Serif";
  EXPECT_EQ(form->edFuncExpr->palette().color(QPalette::Text), QColor(Qt::blue));
  EXPECT_EQ(form->edFuncErrors->palette().color(QPalette::Text), QColor(Qt::red));
  EXPECT_EQ(form->edGlobMin->palette().color(QPalette::Text), QColor(Qt::red));
}

// The form's font is replaced by a wider one on Debian; every caption must
// still fit its control and no two controls of one group may overlap.
TEST_F(StartUp, noCaptionIsClipped) {
  form->show();  // lays out the radio group's items
  for (QLabel* label : form->findChildren<QLabel*>()) {
    EXPECT_GE(label->width(), label->sizeHint().width()) << label->objectName().toStdString();
  }
  for (QAbstractButton* button : form->findChildren<QAbstractButton*>()) {
    if (!button->isVisibleTo(form.get()) || button->text().isEmpty()) continue;
    const int needed = button->fontMetrics().horizontalAdvance(button->text()) +
                       (button->icon().isNull() ? 0 : button->iconSize().width());
    EXPECT_GE(button->width(), needed) << button->objectName().toStdString();
  }
  for (QGroupBox* box : form->findChildren<QGroupBox*>()) {
    EXPECT_GT(box->width(), box->fontMetrics().horizontalAdvance(box->title()) + 16)
        << box->objectName().toStdString();
  }
}

TEST_F(StartUp, widestParameterValueFitsItsColumn) {
  form->spinParamCount->setValue(1);
  const QString widest = QStringLiteral("-0,9999688");
  EXPECT_LE(form->strgParams->fontMetrics().horizontalAdvance(widest) + 2, form->strgParams->columnWidth(0));
  EXPECT_EQ(form->strgParams->columnWidth(0), 60);
  EXPECT_EQ(form->strgParams->rowHeight(0), 21);
}

TEST_F(StartUp, controlsOfOneGroupDoNotOverlap) {
  for (QWidget* parent : std::initializer_list<QWidget*>{form.get(), form->gbOptFunc, form->gbFuncView,
                                                          form->gbInterval, form->grbMetParams, form->GroupBox1}) {
    std::vector<QWidget*> kids;
    for (QObject* o : parent->children())
      if (auto* w = qobject_cast<QWidget*>(o); w && w != form->bevSpacer && !w->isWindow()) kids.push_back(w);
    for (std::size_t i = 0; i < kids.size(); ++i)
      for (std::size_t j = i + 1; j < kids.size(); ++j)
        EXPECT_FALSE(kids[i]->geometry().intersects(kids[j]->geometry()))
            << kids[i]->objectName().toStdString() << " overlaps " << kids[j]->objectName().toStdString();
  }
}

// Reading order: the groups from top to bottom, each down its columns from left to right.
TEST_F(StartUp, tabOrderFollowsTheReadingOrder) {
  form->show();  // lays out the radio group's items
  const auto key = [&](QWidget* w) {
    QWidget* group = w->parentWidget() == form.get() ? w : w->parentWidget();
    return std::tuple(group->y(), w->x(), w->y());
  };
  std::vector<QWidget*> chain;
  for (QWidget* w = form->nextInFocusChain(); w != form.get(); w = w->nextInFocusChain()) {
    QWidget* parent = w->parentWidget();
    const bool inGroup = parent == form.get() || (parent && qobject_cast<QGroupBox*>(parent));
    if (inGroup && (w->focusPolicy() & Qt::TabFocus)) chain.push_back(w);
  }
  ASSERT_EQ(chain.size(), 21u);
  for (std::size_t i = 1; i < chain.size(); ++i)
    EXPECT_LT(key(chain[i - 1]), key(chain[i]))
        << chain[i - 1]->objectName().toStdString() << " before " << chain[i]->objectName().toStdString();
}

TEST_F(StartUp, closingTheWindowShowsNothing) {
  form->show();
  form->edFuncExpr->setText(QStringLiteral("x[0]^2 - 5"));
  EXPECT_TRUE(form->close());
  form.reset();
  EXPECT_TRUE(dialogs.boxes.empty());
}

}  // namespace
}  // namespace Velmora::Testing
