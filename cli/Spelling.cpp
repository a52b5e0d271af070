#include "Spelling.h"

#include <cstdio>

namespace Velmora::Cli {

std::string hexFloat(double value) { return printed("%a", value); }

std::string jsonString(const std::string& text) {
  std::string quoted = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"': quoted += "\\\""; break;
      case '\\': quoted += "\\\\"; break;
      case '\n': quoted += "\\n"; break;
      case '\r': quoted += "\\r"; break;
      case '\t': quoted += "\\t"; break;
      default:
        if (c < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", c);
          quoted += escape;
        } else {
          quoted += static_cast<char>(c);
        }
    }
  }
  return quoted + "\"";
}

std::string printed(const char* format, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}


std::string paramText(MethodId method, double param) {
  return Lab::methodInfo(method).param == Lab::ParamMeaning::None ? "-" : Lab::shortest(param);
}

std::string spreadText(const std::optional<Lab::Spread>& spread) {
  if (!spread) return "-";
  return printed("%.1f", spread->mean) + " (" + printed("%.1f", spread->lowest) + "–" + printed("%.1f", spread->highest) + ")";
}

std::string overSeedsNote(const std::string& spread, const std::string& pooled) {
  return "A stochastic method's " + spread + " are means over its seeds, the lowest and highest in brackets; its " +
         pooled + " over the runs of every seed.\n";
}

std::string leftIntervalLine(MethodId method, std::size_t runs) {
  return std::string(methodName(method)) + ": left the interval: " + std::to_string(runs) + (runs == 1 ? " run" : " runs");
}

}  // namespace Velmora::Cli
