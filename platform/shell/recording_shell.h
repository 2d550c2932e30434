#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/shell/shell.h"

namespace pelmorix {

// Records every call and answers from a queue (SE_STARTED when the queue is empty).
class TRecordingShell : public TShell {
 public:
  struct Call {
    HWND Window;
    std::string Operation, File, Parameters, Directory;
    int ShowCommand;
  };

  int ShellExecuteA(HWND window, const char* operation, const char* file, const char* parameters,
                    const char* directory, int showCommand) override {
    auto text = [](const char* value) { return std::string(value != nullptr ? value : ""); };
    Calls.push_back(
        {window, text(operation), text(file), text(parameters), text(directory), showCommand});
    if (Answers.empty()) return SE_STARTED;
    const int answer = Answers.front();
    Answers.pop_front();
    return answer;
  }

  std::vector<Call> Calls;
  std::deque<int> Answers;
};

}  // namespace pelmorix
