// The About window: its picture, its fixed contents, and its modality.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "Aboutform.h"
#include "GuiTestMain.h"

using Velmora::TFormAbout;

namespace {

// The SOF2 marker (0xFFC2) starts the frame of a progressive JPEG; a baseline
// file has SOF0 instead.
bool isProgressiveJpeg(const QByteArray& bytes) {
  for (qsizetype i = 2; i + 3 < bytes.size();) {
    if (static_cast<unsigned char>(bytes[i]) != 0xFF) return false;
    const auto marker = static_cast<unsigned char>(bytes[i + 1]);
    if (marker == 0xC2) return true;
    if (marker == 0xC0 || marker == 0xC1 || marker == 0xDA) return false;
    const int length = (static_cast<unsigned char>(bytes[i + 2]) << 8) | static_cast<unsigned char>(bytes[i + 3]);
    i += 2 + length;
  }
  return false;
}

TEST(AboutPicture, isAProgressiveJpegThatDecodesAt100By100) {
  TFormAbout about;
  QFile file(QStringLiteral(":/about/picture.jpg"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  ASSERT_GE(bytes.size(), 4);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
  EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xD8);
  EXPECT_TRUE(isProgressiveJpeg(bytes));

  EXPECT_TRUE(QImageReader::supportedImageFormats().contains("jpeg"));
  ASSERT_FALSE(about.Picture().isNull());
  EXPECT_EQ(about.Picture().size(), QSize(100, 100));
  EXPECT_FALSE(about.Picture().isGrayscale());
  ASSERT_FALSE(about.Image1->pixmap().isNull());
  EXPECT_EQ(about.Image1->pixmap().size(), QSize(100, 100));
}

TEST(AboutWindow, hasItsFixedFrameAndTranslucency) {
  TFormAbout about;
  EXPECT_EQ(about.windowTitle(), QStringLiteral("О программе..."));
  EXPECT_EQ(about.size(), QSize(422, 135));
  EXPECT_EQ(about.minimumSize(), about.maximumSize());
  EXPECT_FALSE(about.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(about.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_NEAR(about.windowOpacity(), 220.0 / 255.0, 0.005);
  EXPECT_TRUE(about.BitBtn1->isDefault());
  EXPECT_FALSE(about.BitBtn1->icon().isNull());
  EXPECT_EQ(about.BitBtn1->text(), QStringLiteral("OK"));
}

TEST(AboutWindow, rowsReadTheirTextsAndNoCaptionRunsIntoItsValue) {
  TFormAbout about;
  struct Row {
    QLabel* caption;
    QLabel* value;
    QString captionText;
    QString valueText;
  };
  const Row rows[] = {
      {about.Label2, about.Label3, "Разработчик программы:", "Velmora developers"},
      {about.Label5, about.Label4, "Среда разработки:", "C++20, Qt 6, CMake"},
      {about.Label6, about.Label7, "Использовался код: ", "свой движок формул"},
      {about.Label10, about.Label11, "Дата реализации: ", "2 апреля 2004г."},
      {about.Label8, about.Label9, "Web - сайт: ", "нет"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.captionText.toStdString());
    EXPECT_EQ(row.caption->text(), row.captionText);
    EXPECT_EQ(row.value->text(), row.valueText);
    EXPECT_TRUE(row.caption->font().bold());
    EXPECT_EQ(row.caption->y(), row.value->y());
    EXPECT_GE(row.caption->x(), about.Bevel1->x());
    // Font metrics differ from the ones the layout was drawn for: the text
    // must still fit inside the frame and beside its caption.
    const int captionEnd = row.caption->x() + row.caption->fontMetrics().horizontalAdvance(row.captionText);
    EXPECT_LE(captionEnd, row.value->x());
    const int valueEnd = row.value->x() + row.value->fontMetrics().horizontalAdvance(row.valueText);
    EXPECT_LE(valueEnd, about.Bevel1->geometry().right());
  }
  EXPECT_EQ(about.Label1->text(), QStringLiteral("Velmora"));
  EXPECT_TRUE(about.Label1->font().underline());
  EXPECT_EQ(about.Label1->font().pixelSize(), 16);
}

// Presses Enter in the About window once the event loop runs, noting whether
// it was the modal window and what it showed.
void pressEnterWhenShown(TFormAbout& about, QStringList& seen, bool& wasModal) {
  QTimer::singleShot(0, [&about, &seen, &wasModal] {
    wasModal = QApplication::activeModalWidget() == &about;
    QStringList texts;
    for (const QLabel* label : about.findChildren<QLabel*>()) texts << label->text();
    seen << texts.join('|');
    QTest::keyClick(&about, Qt::Key_Return);
  });
}

TEST(AboutWindow, showsTheSameContentsEachTimeAndEnterClosesIt) {
  TFormAbout about;
  Velmora::Testing::ExpectModal expected;
  QStringList seen;
  for (int showing = 0; showing < 2; ++showing) {
    bool wasModal = false;
    pressEnterWhenShown(about, seen, wasModal);
    EXPECT_EQ(about.exec(), QDialog::Accepted);
    EXPECT_TRUE(wasModal);
    EXPECT_FALSE(about.isVisible());
  }
  ASSERT_EQ(seen.size(), 2);
  EXPECT_EQ(seen[0], seen[1]);
}

}  // namespace
