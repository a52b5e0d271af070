// The method panel: enabled inputs, labels and the method object for each
// choice; the step count's corrections; the About window over the main window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "Aboutform.h"
#include "GuiTestMain.h"
#include "Piyavsky_opt.h"
#include "RadioGroup.h"
#include "Scan_opt.h"
#include "WindowFixture.h"
#include "SpinEdit.h"
#include "Strongin_opt.h"

using Velmora::Testing::WindowTest;

namespace {

const QString lipschitzLabel = QStringLiteral("Оценка Константы Липщица:------------>");
const QString multiplierLabel = QStringLiteral("Множитель Константы Липщица:------>");
const QString precisionLabel = QStringLiteral("Достигнутая точность:");
const QString stepsLabel = QStringLiteral("Сдел-е Число шагов:");

class MethodPanel : public WindowTest {
 protected:
  void SetUp() override { form->show(); }
};

TEST_F(MethodPanel, startsWithScanningByStepsAndTheParameterDisabled) {
  EXPECT_EQ(form->radgrSearchMet->itemIndex(), 0);
  EXPECT_FALSE(form->labMetParam->isEnabled());
  EXPECT_EQ(form->labMetParam->text(), lipschitzLabel);
  EXPECT_FALSE(form->edMetParam->isEnabled());
  EXPECT_FALSE(form->edPrecision->isEnabled());
  EXPECT_TRUE(form->spedSteps->isEnabled());
  EXPECT_EQ(form->spedSteps->value(), 100);
  EXPECT_EQ(form->labMade->text(), precisionLabel);
  EXPECT_NE(dynamic_cast<VELMORAALG::TScanOpt*>(form->currentMethod.get()), nullptr);
}

// Each row is one click in a sequence; the state after it.
TEST_F(MethodPanel, eachMethodBringsItsObjectLabelAndEnabledInputs) {
  struct Step {
    int method;
    bool parameterEnabled;
    QString label;
    const char* why;
  };
  const Step steps[] = {
      {1, true, lipschitzLabel, "broken lines: the Lipschitz estimate"},
      {2, true, multiplierLabel, "information-statistical: the multiplier"},
      {0, false, multiplierLabel, "scanning keeps the label of the method before"},
      {1, true, lipschitzLabel, "broken lines again"},
      {0, false, lipschitzLabel, "scanning after broken lines"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.why);
    chooseMethod(step.method);
    EXPECT_EQ(form->radgrSearchMet->itemIndex(), step.method);
    EXPECT_EQ(form->labMetParam->isEnabled(), step.parameterEnabled);
    EXPECT_EQ(form->edMetParam->isEnabled(), step.parameterEnabled);
    EXPECT_EQ(form->labMetParam->text(), step.label);
    VELMORAALG::SearchEngine* method = form->currentMethod.get();
    switch (step.method) {
      case 0: EXPECT_NE(dynamic_cast<VELMORAALG::TScanOpt*>(method), nullptr); break;
      case 1: EXPECT_NE(dynamic_cast<VELMORAALG::TPiyavskyOpt*>(method), nullptr); break;
      case 2: EXPECT_NE(dynamic_cast<VELMORAALG::TStronginOpt*>(method), nullptr); break;
    }
  }
  // One text serves both parametrised methods.
  EXPECT_EQ(form->edMetParam->text(), QStringLiteral("1,5"));
}

TEST_F(MethodPanel, aNewMethodStartsEmptyAndLeavesTheResultsOnView) {
  enterFormula(QStringLiteral("x[0]^2 - 5"));
  pressSearch();
  const View shown = view();
  VELMORAALG::SearchEngine* ran = form->currentMethod.get();
  ASSERT_FALSE(ran->GetTrials().empty());

  // Clicking the method already chosen is no change.
  chooseMethod(0);
  EXPECT_EQ(form->currentMethod.get(), ran);

  chooseMethod(2);
  EXPECT_TRUE(form->currentMethod->GetTrials().empty());
  EXPECT_EQ(view(), shown);
}

TEST_F(MethodPanel, theStopRuleRelabelsTheResultButKeepsItsValue) {
  enterFormula(QStringLiteral("x[0]^2 - 5"));
  pressSearch();
  choosePrecisionStop();
  EXPECT_EQ(form->labMade->text(), stepsLabel);
  EXPECT_EQ(form->edMadeParam->text(), QStringLiteral("0,156250000"));
  EXPECT_FALSE(form->spedSteps->isEnabled());
  EXPECT_TRUE(form->edPrecision->isEnabled());

  chooseStepStop();
  EXPECT_EQ(form->labMade->text(), precisionLabel);
  EXPECT_TRUE(form->spedSteps->isEnabled());
  EXPECT_FALSE(form->edPrecision->isEnabled());
  // Disabled inputs keep their texts.
  EXPECT_EQ(form->edPrecision->text(), QStringLiteral("0,1"));
}

TEST_F(MethodPanel, theStepCountIsKeptWithinItsRangeWhenLeft) {
  const struct {
    const char* typed;
    int value;
    const char* why;
  } cases[] = {
      {"250000", 100000, "above the range: the maximum"},
      {"0", 1, "below the range: the minimum"},
      {"-7", 1, "negative"},
      {"abc", 1, "not an integer reads as 1"},
      {"2,5", 1, "a fraction is not an integer"},
      {"", 1, "nothing typed"},
      {"99999999999999999999", 100000, "beyond any integer type"},
      {"12345", 12345, "within the range: kept"},
  };
  form->show();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    form->spedSteps->setFocus();
    form->spedSteps->selectAll();
    QTest::keyClicks(form->spedSteps, QString::fromUtf8(c.typed));
    form->edXmin->setFocus();
    // The focus change reaches the spin edit only through an active window.
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(form->spedSteps, &focusOut);
    EXPECT_EQ(form->spedSteps->value(), c.value);
    EXPECT_EQ(form->spedSteps->text(), QString::number(c.value));
  }
}

TEST_F(MethodPanel, stepsStopAtTheEndsOfTheRange) {
  form->spedSteps->setValue(100000);
  QTest::keyClick(form->spedSteps, Qt::Key_Up);
  EXPECT_EQ(form->spedSteps->value(), 100000);
  form->spedSteps->setValue(1);
  QTest::keyClick(form->spedSteps, Qt::Key_Down);
  EXPECT_EQ(form->spedSteps->value(), 1);
  QTest::keyClick(form->spedSteps, Qt::Key_Up);
  EXPECT_EQ(form->spedSteps->value(), 2);
}

// The About window the main window made hidden, shown modally by its button;
// the window is made here as any program embedding it would make it.
class AboutFromMainWindow : public MethodPanel {
 protected:
  Velmora::TFormAbout* about = form->FormAbout.get();
};

// Input as the window system delivers it, so that a modal window can block it
// (events sent straight to a widget pass every modal window by).
void clickInWindow(QWidget* target, QPoint at) {
  QWidget* top = target->window();
  QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, target->mapTo(top, at));
}

TEST_F(AboutFromMainWindow, opensModallyTakesTheMainWindowsInputAndClosesWithEnter) {
  enterFormula(QStringLiteral("x[0]^2 - 5"));
  QRadioButton* strongin = form->radgrSearchMet->item(2);
  const QPoint onIndicator(6, strongin->height() / 2);
  EXPECT_FALSE(about->isVisible());
  Velmora::Testing::ExpectModal expected;
  int showings = 0;
  for (int showing = 0; showing < 2; ++showing) {
    QTimer::singleShot(0, [&] {
      ++showings;
      EXPECT_EQ(QApplication::activeModalWidget(), about);
      EXPECT_TRUE(about->isVisible());
      clickInWindow(strongin, onIndicator);
      clickInWindow(form->bbtnSearchMin, form->bbtnSearchMin->rect().center());
      QTest::keyClick(form->windowHandle(), Qt::Key_Space);
      QTest::keyClick(about->windowHandle(), Qt::Key_Return);
    });
    clickInWindow(form->bbtnProgramInfo, form->bbtnProgramInfo->rect().center());
    EXPECT_FALSE(about->isVisible());
  }
  EXPECT_EQ(showings, 2);
  EXPECT_EQ(form->radgrSearchMet->itemIndex(), 0);
  EXPECT_TRUE(form->edGlobMin->text().isEmpty());
  EXPECT_TRUE(dialogs.boxes.empty());

  // The same clicks reach the main window once the About window is closed.
  clickInWindow(strongin, onIndicator);
  EXPECT_EQ(form->radgrSearchMet->itemIndex(), 2);
  clickInWindow(form->bbtnSearchMin, form->bbtnSearchMin->rect().center());
  EXPECT_FALSE(form->edGlobMin->text().isEmpty());
}

}  // namespace
