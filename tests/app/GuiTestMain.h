#pragma once

namespace Velmora::Testing {

// Set while a test opens a modal window on purpose.
extern bool modalExpected;

// Marks a modal window as expected for as long as it lives.
struct ExpectModal {
  ExpectModal() { modalExpected = true; }
  ~ExpectModal() { modalExpected = false; }
  ExpectModal(const ExpectModal&) = delete;
  ExpectModal& operator=(const ExpectModal&) = delete;
};

}  // namespace Velmora::Testing
