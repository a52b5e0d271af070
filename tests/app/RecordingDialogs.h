// Records every box the window would show, in order, instead of opening it.
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "Dialogs.h"

namespace Velmora::Testing {

struct Box {
  enum class Kind { Message, Error, MathReport, SaveFile };
  Kind kind;
  QString text;
  bool operator==(const Box&) const = default;
};

class RecordingDialogs : public Dialogs {
 public:
  void showMessage(const QString& text) override { record({Box::Kind::Message, text}); }
  void showError(const QString& text) override { record({Box::Kind::Error, text}); }
  void showMathReport(const QString& text) override { record({Box::Kind::MathReport, text}); }
  // Recorded with its caption; answers with saveFileAnswer (empty: cancelled).
  QString chooseSaveFile(const QString& caption, const QString&) override {
    record({Box::Kind::SaveFile, caption});
    return saveFileAnswer;
  }

  std::vector<QString> texts(Box::Kind kind) const {
    std::vector<QString> out;
    for (const Box& b : boxes)
      if (b.kind == kind) out.push_back(b.text);
    return out;
  }
  std::vector<QString> messages() const { return texts(Box::Kind::Message); }
  std::vector<QString> errors() const { return texts(Box::Kind::Error); }
  std::vector<QString> mathReports() const { return texts(Box::Kind::MathReport); }

  std::vector<Box> boxes;
  QString saveFileAnswer;
  // Called while a box would be open, so a test can look at the window then.
  std::function<void(const Box&)> onShow;

 private:
  void record(Box box) {
    boxes.push_back(std::move(box));
    if (onShow) onShow(boxes.back());
  }
};

}  // namespace Velmora::Testing

// Lets GoogleTest print QStrings in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
