#include "SearchCsv.h"

#include <algorithm>
#include <ostream>

#include "NumberText.h"

namespace Velmora::Lab {

void writeTrialsCsv(std::ostream& out, const std::vector<Trial>& trials) {
  std::vector<const Trial*> byPlace;
  byPlace.reserve(trials.size());
  for (const Trial& t : trials) byPlace.push_back(&t);
  std::sort(byPlace.begin(), byPlace.end(), [](const Trial* a, const Trial* b) { return a->placed < b->placed; });
  out << "order,x,f\n";
  for (const Trial* t : byPlace) out << t->placed << ',' << shortest(t->x) << ',' << shortest(t->f) << '\n';
}

void writeStepsCsv(std::ostream& out, std::string_view header, const std::vector<VELMORAALG::TStepRecord>& records) {
  out << header << '\n';
  for (const VELMORAALG::TStepRecord& r : records) {
    out << r.Step << ',' << r.Interval << ',' << shortest(r.Left) << ',' << shortest(r.Right) << ','
        << shortest(r.Charact) << ',' << shortest(r.Constant) << ',' << shortest(r.X) << ',' << shortest(r.Z) << ','
        << shortest(r.Precision) << '\n';
  }
}

}  // namespace Velmora::Lab
