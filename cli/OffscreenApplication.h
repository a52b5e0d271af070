// The Qt application a picture needs, made without a display when the
// process has none yet, and taken down again with Qt's message handler.
#pragma once

#include <memory>
#include <qglobal.h>

class QApplication;

namespace Velmora::Cli {

class OffscreenApplication {
 public:
  OffscreenApplication();
  ~OffscreenApplication();
  OffscreenApplication(const OffscreenApplication&) = delete;
  OffscreenApplication& operator=(const OffscreenApplication&) = delete;

 private:
  std::unique_ptr<QApplication> app_;  ///< empty when the process had one already
  QtMessageHandler previous_ = nullptr;
};

}  // namespace Velmora::Cli
