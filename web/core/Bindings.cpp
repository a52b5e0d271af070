// The core as the page's script sees it. Every call answers with a plain
// object; a fault comes back as its text, never as a thrown exception.
#include <emscripten/bind.h>

#include "CatalogueCalls.h"
#include "CourseCalls.h"
#include "LabCalls.h"
#include "SearchCalls.h"

EMSCRIPTEN_BINDINGS(velmora) {
  using namespace Velmora::Web;
  emscripten::function("methods", &methods);
  emscripten::function("readNumber", &readNumber);
  emscripten::function("formatFixed", &formatFixed);
  emscripten::function("shortest", &shortest);
  emscripten::function("sampleFormulas", &sampleFormulas);
  emscripten::function("maxSteps", &maxSteps);
  emscripten::function("checkFormula", &checkFormula);
  emscripten::function("samples", &samples);
  emscripten::function("search", &search);
  emscripten::function("courseStep", &courseStep);
  emscripten::function("courseBest", &courseBest);
  emscripten::function("courseStepsCsv", &courseStepsCsv);
  emscripten::function("trialsCsv", &trialsCsv);
  emscripten::function("addTestSet", &addTestSet);
  emscripten::function("classRun", &classRun);
  emscripten::function("classSummary", &classSummary);
  emscripten::function("testSetRun", &testSetRun);
  emscripten::function("testSetSummary", &testSetSummary);
}
