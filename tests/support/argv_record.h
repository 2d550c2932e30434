#pragma once

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace pelmorix {

// What the argv recorder saw: its working directory and its arguments after the program name.
// Stored as "<length>:<bytes>\n" items, so that any byte survives.
struct TArgvRecord {
  std::string WorkingDirectory;
  std::vector<std::string> Arguments;
};

inline std::string EncodeArgvRecord(const TArgvRecord& record) {
  std::string out;
  auto put = [&out](const std::string& item) {
    out += std::to_string(item.size()) + ":" + item + "\n";
  };
  put(record.WorkingDirectory);
  for (const auto& argument : record.Arguments) put(argument);
  return out;
}

inline bool DecodeArgvRecord(const std::string& text, TArgvRecord& record) {
  std::vector<std::string> items;
  for (size_t pos = 0; pos < text.size();) {
    const size_t colon = text.find(':', pos);
    if (colon == std::string::npos) return false;
    const size_t length = std::stoul(text.substr(pos, colon - pos));
    if (colon + 1 + length >= text.size() || text[colon + 1 + length] != '\n') return false;
    items.push_back(text.substr(colon + 1, length));
    pos = colon + 1 + length + 1;
  }
  if (items.empty()) return false;
  record.WorkingDirectory = items[0];
  record.Arguments.assign(items.begin() + 1, items.end());
  return true;
}

// Waits for the record of a recorder copy at programPath; false when none appears in time.
inline bool WaitForArgvRecord(const std::string& programPath, TArgvRecord& record,
                              std::chrono::milliseconds limit = std::chrono::seconds(20)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  do {
    std::ifstream in(programPath + ".record", std::ios::binary);
    if (in) {
      std::stringstream content;
      content << in.rdbuf();
      return DecodeArgvRecord(content.str(), record);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  } while (std::chrono::steady_clock::now() < end);
  return false;
}

}  // namespace pelmorix
